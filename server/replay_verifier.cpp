#include "server/replay_verifier.h"

#include "platform/replaced_files.h"
#include "server/child_process.h"
#include "server/log_text.h"

#include <nlohmann/json.hpp>

#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <optional>
#include <sstream>

namespace vastorim::server {
namespace {

// The runner's status for a replay it will not play.
constexpr int kRefused = 3;

struct Verdict {
    ReplayState state = ReplayState::unverified; // unverified: not judged, try again later
    std::string reason;
};

std::string firstLine(const std::string& text) {
    return printable(text.substr(0, text.find('\n')));
}

// The runner's report is one JSON line: {"ended", "name", "score", ...}.
Verdict judgeReport(const std::string& report, const ScoreEntry& entry) {
    const nlohmann::json fields = nlohmann::json::parse(report, nullptr, false);
    const auto text = [&](const char* field) {
        return fields.is_object() && fields.contains(field) && fields[field].is_string()
                   ? std::optional(fields[field].get<std::string>())
                   : std::nullopt;
    };
    const std::optional<std::string> name = text("name"), score = text("score");
    if (!name || !score || !fields.contains("ended") || !fields["ended"].is_boolean()) {
        return {ReplayState::rejected, "the runner's report is unreadable: " + firstLine(report)};
    }
    if (!fields["ended"].get<bool>()) {
        return {ReplayState::rejected, "the replay stops before its game ends"};
    }
    if (*score != std::to_string(entry.hundredths)) {
        return {ReplayState::rejected, "its game ends at " + printable(*score)};
    }
    if (*name != entry.name) {
        return {ReplayState::rejected, "its name entry submits " + printable(*name)};
    }
    return {ReplayState::verified, ""};
}

Verdict judgeRun(const ChildOutcome& run, const ScoreEntry& entry, bool stopping,
                 std::chrono::seconds limit) {
    if (!run.started) {
        return {ReplayState::unverified, run.problem};
    }
    if (run.killed) {
        return stopping ? Verdict{ReplayState::unverified, "the server is stopping"}
                        : Verdict{ReplayState::rejected,
                                  "it plays longer than " + std::to_string(limit.count()) + " s"};
    }
    if (run.exitStatus == kRefused) {
        return {ReplayState::rejected, "refused: " + firstLine(run.err)};
    }
    if (run.exitStatus == 0) {
        return judgeReport(run.out, entry);
    }
    // Any other end is the runner's trouble with the game's folder, not the replay's; a replay
    // that crashes it ends it by a signal.
    return run.exitStatus < 0
               ? Verdict{ReplayState::rejected, "the runner failed on it: " + firstLine(run.err)}
               : Verdict{ReplayState::unverified, "the runner cannot play: " + firstLine(run.err)};
}

std::string readScratch(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << file.rdbuf();
    return file ? bytes.str() : "";
}

} // namespace

ReplayVerifier::ReplayVerifier(ScoreStore& store, VerifierSettings settings,
                               std::function<void()> judged)
    : store_(store), settings_(std::move(settings)), judged_(std::move(judged)),
      scratch_(std::filesystem::temp_directory_path() /
               ("vastorim-server-replays-" + std::to_string(getpid()))) {
    std::filesystem::create_directories(scratch_);
    // What a previous run left unplayed goes first, whatever the limit.
    for (const std::int64_t id : store_.unplayedReplays()) {
        queue_.push_back(id);
    }
    for (int worker = 0; worker < settings_.workers; ++worker) {
        workers_.emplace_back([this] { work(); });
    }
}

ReplayVerifier::~ReplayVerifier() {
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_all();
    for (std::thread& worker : workers_) {
        worker.join();
    }
    std::error_code ignored;
    std::filesystem::remove_all(scratch_, ignored);
}

bool ReplayVerifier::hasRoom() {
    const std::lock_guard lock(mutex_);
    return queue_.size() < settings_.queueLimit;
}

void ReplayVerifier::enqueue(std::int64_t id) {
    {
        const std::lock_guard lock(mutex_);
        queue_.push_back(id);
    }
    wake_.notify_one();
}

void ReplayVerifier::work() {
    for (;;) {
        std::int64_t id = 0;
        {
            std::unique_lock lock(mutex_);
            wake_.wait(lock, [this] { return stopping_ || !queue_.empty(); });
            if (stopping_) {
                return;
            }
            id = queue_.front();
            queue_.pop_front();
        }
        try {
            verify(id);
        } catch (const StoreError& error) {
            std::fprintf(stderr, "vastorim-server: replay %lld: %s\n", static_cast<long long>(id),
                         error.what());
        }
    }
}

void ReplayVerifier::verify(std::int64_t id) {
    const auto stored = store_.replay(id);
    if (!stored) {
        return;
    }
    const auto& [entry, replay] = *stored;
    const std::filesystem::path replayFile = scratch_ / (std::to_string(id) + ".replay");
    const std::filesystem::path pictureFile = scratch_ / (std::to_string(id) + ".png");
    const auto started = std::chrono::steady_clock::now();
    std::string problem;
    Verdict verdict;
    if (!platform::replaceFile(replayFile.string(), replay, platform::Flush::no, problem)) {
        verdict.reason = "cannot write " + problem;
    } else {
        const ChildOutcome run =
            runChild(settings_.simulator,
                     {"--data", settings_.gameData, "--replay", replayFile.string(), "--verify",
                      "--final-picture", pictureFile.string()},
                     settings_.limit, stopping_);
        verdict = judgeRun(run, entry, stopping_, settings_.limit);
    }
    const std::string picture =
        verdict.state == ReplayState::verified ? readScratch(pictureFile) : "";
    std::error_code ignored;
    std::filesystem::remove(replayFile, ignored);
    std::filesystem::remove(pictureFile, ignored);
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    std::fprintf(
        stderr, "vastorim-server: replay %lld (%s, %lld): %s in %.1f s%s%s\n",
        static_cast<long long>(id), entry.name.c_str(), static_cast<long long>(entry.hundredths),
        verdict.state == ReplayState::unverified ? "left unplayed" : stateName(verdict.state),
        seconds, verdict.reason.empty() ? "" : ": ", verdict.reason.c_str());
    if (verdict.state != ReplayState::unverified) {
        store_.judge(id, verdict.state, picture);
        judged_();
    }
}

} // namespace vastorim::server
