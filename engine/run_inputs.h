#pragma once

#include "protocol/replay_file.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace vastorim {

namespace platform {
class AudioBuffer;
}

// Everything a run of the game reads from outside itself passes here: the seed, the setup file,
// the platform clock's tick (once before start-up, once before the first frame, then once at the
// start of every frame), the music position the audio device reports (once a frame), and the key
// events handed to the game at the end of a frame. A live run records them all; a replayed run
// takes them from its replay instead and never touches the network, so it plays the recorded
// run again exactly. The real window, headless runs and the tests all go through here.

// The next run (the next Main) plays this replay instead of its platform's clock, music and keys.
void replayNextRun(Replay replay);

// Start-up, once the setup file is read: seeds and pins the generator (a replay's seed, or the
// one the run has), takes the first clock reading, and for a replay gives it the replay's setup.
void beginRunInputs();
// Before the first frame: the second clock reading.
std::int32_t beginLoopInputs();
// The start of a frame: the frame's clock reading. A replay's frames run out after its last.
std::int32_t beginFrameInputs();
// The end of a frame, after its events: the frame joins the recording; a replay that has played
// its last frame ends the loop.
void endFrameInputs();
// The run is over: the next run starts afresh (setup from its file, the network usable).
void endRunInputs();

// The clock reading of this frame while a run goes on; nothing outside one.
std::optional<std::int32_t> frameTick();
// The music position for this frame: the track's own, or the replay's.
std::uint32_t frameMusicPosition(platform::AudioBuffer& track);

// Keys and the loss of focus reach the game through these, so that they are recorded.
void handOverKey(bool down, int keyCode);
void handOverFocusLost();
// A replay's events for this frame, handed over in their order; none in a live run.
void handOverReplayedEvents();
bool replaying();

// What the run has read so far, as a replay file: the frames before this one and this frame
// with the events handed over up to now. Empty while replaying.
std::string replayUpToNow();
// The number of frames begun so far in this run.
long framesBegun();
// The memory the run's recording holds: it grows by a few bytes a frame for as long as the run
// lasts, since a replay always starts where the run did.
std::size_t recordingBytes();

// The identity this build and this program folder give a replay.
ReplayIdentity currentReplayIdentity();

} // namespace vastorim
