#pragma once

#include <cstdint>

namespace vastorim {

// The music track and the beat clock it drives. The track's play position, in bytes, gives four
// beat grids; each grid's flag is true for the one frame in which its step changed.
struct MusicClock {
    double musicFrequency = 22000;
    std::int32_t playPos = 0;
    std::int16_t halfBeatStep = 0, beatStep = 0, twoBeatStep = 0, fourBeatStep = 0;
    bool halfBeatFlag = false, beatFlag = false, twoBeatFlag = false, fourBeatFlag = false;
};

extern MusicClock music;

// Byte positions in the shipped track: its loop and the length of the beat grid (63 beats).
inline constexpr std::int32_t musicLoopStart = 37786;
inline constexpr std::int32_t musicLoopEnd = 2418305;
inline constexpr std::int32_t musicGridLength = 2380518;

// Loads "sound/music.wav" of the program folder on the current platform's audio device; a
// missing or unreadable file is a DataError.
void initSound();
void restartMusic();
// Once per frame in every mode: the beat flags, and at the loop end a restart with a wave of
// asteroids through hooks.spawnWaveAsteroid.
void updateMusicClock();
// Once per frame in play: the tempo rises during normal play; the volume follows the fade.
void updateMusicTempo();

// The clock's start-up state; the track stays loaded.
void resetMusicClock();

// Drops the track, which belongs to the platform's audio device, before that device goes.
void shutdownSound();

} // namespace vastorim
