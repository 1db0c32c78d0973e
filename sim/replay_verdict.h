#pragma once

#include "protocol/replay_file.h"

#include <string>

namespace vastorim {

// Reads a replay file made by this build on this program folder's content; anything else (an
// unreadable file too) is a ReplayError whose text names the file and why.
Replay readReplayFile(const std::string& path);

// What playing a replay to its end showed. `ended`: the replay's last frame submitted its game's
// time, so `name` and `score` are what that submission sent (score: the submission's field,
// hundredths of a second).
struct ReplayVerdict {
    ReplayIdentity identity;
    long frames = 0;
    bool ended = false;
    std::string name;
    std::string score;
    double seconds = 0; // how long the playing took
};

// The verdict on `replay` once it has been played (the last submission is the run's).
ReplayVerdict verdictOf(const Replay& replay, double seconds);

// The verdict as one JSON line: build, contentHash, frames, ended, name, score, finalTime (the
// score as a number), seconds.
std::string verdictLine(const ReplayVerdict& verdict);

} // namespace vastorim
