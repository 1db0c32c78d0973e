#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vastorim {

// Each game's replay, cut at the moment its time is submitted (name entry's Return, or Escape
// after game over): the run's inputs from its start up to that key, name entry included.

struct GameSubmission {
    std::string name; // upper-cased, as submitted
    std::int32_t finalTime = 0;
    long frame = 0; // the frame of the run in which it was made, counted from 1
};

// The run's last submission; nothing before the first.
const std::optional<GameSubmission>& lastSubmission();

// A game's time is submitted. A live run cuts the replay, writes it into the replays folder
// (when that is kept) and holds it for the upload; a replayed run only notes the submission.
void cutGameReplay(const std::string& upperName, std::int32_t finalTime);

// After sendScore: POST serverBase/replay with the submission's query and the replay cut for it
// as the body, in the background; the reply is only logged.
void uploadGameReplay();

// The game keeps its replays in "replays/" of the program folder: the ten newest and the best
// time, written atomically. Headless runs write theirs where --record says instead.
void keepReplaysInFolder(bool keep);
inline constexpr std::size_t newestReplaysKept = 10;

// The replay files of a folder to delete so that the newest and the best remain. Names are
// "MILLISECONDS-HUNDREDTHS.replay" (the wall clock at the cut, the time submitted); other files
// are never touched. The best is the longest time, and of equal times the oldest.
std::vector<std::string> replaysToDelete(const std::vector<std::string>& names);

// Start-up state: nothing cut, the folder not kept.
void resetGameReplays();

} // namespace vastorim
