#include "sim/replay_verdict.h"

#include "engine/run_inputs.h"
#include "screens/game_replays.h"
#include "screens/high_score_requests.h"

#include <nlohmann/json.hpp>

#include <cmath>
#include <fstream>
#include <iterator>

namespace vastorim {

Replay readReplayFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        throw ReplayError(path + ": cannot open the replay file");
    }
    const std::string bytes(std::istreambuf_iterator<char>(file), {});
    try {
        return decodeReplay(bytes, currentReplayIdentity());
    } catch (const ReplayError& error) {
        throw ReplayError(path + ": " + error.what());
    }
}

ReplayVerdict verdictOf(const Replay& replay, double seconds) {
    ReplayVerdict verdict;
    verdict.identity = replay.identity;
    verdict.frames = static_cast<long>(replay.frames.size());
    verdict.seconds = seconds;
    if (const std::optional<GameSubmission>& submission = lastSubmission()) {
        verdict.ended = submission->frame == verdict.frames;
        verdict.name = submission->name;
        verdict.score = std::to_string(submittedScore(submission->finalTime));
    }
    return verdict;
}

std::string verdictLine(const ReplayVerdict& verdict) {
    const nlohmann::ordered_json line = {
        {"build", verdict.identity.build},
        {"contentHash", verdict.identity.contentHash},
        {"frames", verdict.frames},
        {"ended", verdict.ended},
        {"name", verdict.name},
        {"score", verdict.score},
        {"finalTime", verdict.score.empty() ? 0 : std::stol(verdict.score)},
        {"seconds", std::round(verdict.seconds * 1000) / 1000}};
    return line.dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace);
}

} // namespace vastorim
