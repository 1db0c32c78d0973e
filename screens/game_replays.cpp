#include "screens/game_replays.h"

#include "engine/app_path.h"
#include "engine/background_jobs.h"
#include "engine/run_inputs.h"
#include "engine/text_files.h"
#include "platform/download.h"
#include "platform/replaced_files.h"
#include "screens/high_score_requests.h"

#include <algorithm>
#include <charconv>
#include <chrono>
#include <filesystem>
#include <iostream>
#include <utility>

namespace vastorim {
namespace {

struct GameReplays {
    std::optional<GameSubmission> submission;
    std::string replay; // the file cut at the last submission
    bool keepInFolder = false;
};

GameReplays replays;

struct ReplayName {
    std::string name;
    long long milliseconds = 0;
    long long hundredths = 0;
};

std::optional<ReplayName> readReplayName(const std::string& name) {
    constexpr std::string_view extension = ".replay";
    const std::size_t dash = name.find('-');
    if (dash == std::string::npos || name.size() <= extension.size() ||
        !name.ends_with(extension)) {
        return std::nullopt;
    }
    ReplayName read{name};
    const char* end = name.data() + name.size() - extension.size();
    const auto [afterTime, timeError] =
        std::from_chars(name.data(), name.data() + dash, read.milliseconds);
    const auto [afterScore, scoreError] =
        std::from_chars(name.data() + dash + 1, end, read.hundredths);
    if (timeError != std::errc() || afterTime != name.data() + dash || scoreError != std::errc() ||
        afterScore != end) {
        return std::nullopt;
    }
    return read;
}

// Runs on the worker: the new file first, then the ones no longer kept.
void writeIntoFolder(const std::string& folder, const std::string& name, const std::string& bytes) {
    std::string problem;
    if (!folderExists(folder) && !createFolder(folder)) {
        std::cerr << "vastorim: " << folder << ": cannot create the replays folder\n";
        return;
    }
    if (!platform::replaceFile(folder + "/" + name, bytes, platform::Flush::toDisk, problem)) {
        std::cerr << "vastorim: " << folder << "/" << name << ": " << problem << '\n';
        return;
    }
    std::vector<std::string> names;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        names.push_back(entry.path().filename().string());
    }
    for (const std::string& old : replaysToDelete(names)) {
        deleteFile(folder + "/" + old);
    }
}

} // namespace

const std::optional<GameSubmission>& lastSubmission() {
    return replays.submission;
}

void cutGameReplay(const std::string& upperName, std::int32_t finalTime) {
    replays.submission = GameSubmission{upperName, finalTime, framesBegun()};
    if (replaying()) {
        return;
    }
    replays.replay = replayUpToNow();
    if (!replays.keepInFolder) {
        return;
    }
    const auto now = std::chrono::duration_cast<std::chrono::milliseconds>(
                         std::chrono::system_clock::now().time_since_epoch())
                         .count();
    const std::string name =
        std::to_string(now) + "-" + std::to_string(submittedScore(finalTime)) + ".replay";
    postBackgroundJob(
        [folder = programFile("replays"), name, bytes = replays.replay](const std::atomic<bool>&) {
            writeIntoFolder(folder, name, bytes);
            return MainThreadStep{};
        });
}

void uploadGameReplay() {
    if (!replays.submission || replays.replay.empty()) {
        return;
    }
    const GameSubmission& submission = *replays.submission;
    postBackgroundJob([url = replayUploadUrl(submission.name, submission.finalTime),
                       body = replays.replay](const std::atomic<bool>& stop) {
        const long status = platform::postBody(url, body, "application/octet-stream", {}, &stop);
        if (status < 200 || status > 299) {
            std::cerr << "vastorim: the replay upload got "
                      << (status == 0 ? std::string("no reply")
                                      : "status " + std::to_string(status))
                      << '\n';
        }
        return MainThreadStep{};
    });
}

void keepReplaysInFolder(bool keep) {
    replays.keepInFolder = keep;
}

std::vector<std::string> replaysToDelete(const std::vector<std::string>& names) {
    std::vector<ReplayName> found;
    for (const std::string& name : names) {
        if (std::optional<ReplayName> replay = readReplayName(name)) {
            found.push_back(std::move(*replay));
        }
    }
    std::sort(found.begin(), found.end(), [](const ReplayName& a, const ReplayName& b) {
        return a.milliseconds > b.milliseconds;
    });
    const auto best =
        std::max_element(found.begin(), found.end(), [](const ReplayName& a, const ReplayName& b) {
            return a.hundredths < b.hundredths ||
                   (a.hundredths == b.hundredths && a.milliseconds > b.milliseconds);
        });
    std::vector<std::string> deleted;
    for (auto replay = found.begin(); replay != found.end(); ++replay) {
        if (replay - found.begin() >= static_cast<long>(newestReplaysKept) && replay != best) {
            deleted.push_back(replay->name);
        }
    }
    return deleted;
}

void resetGameReplays() {
    replays = GameReplays{};
}

} // namespace vastorim
