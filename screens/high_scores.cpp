#include "screens/high_scores.h"

#include "engine/app_path.h"
#include "engine/background_jobs.h"
#include "engine/game_setup.h"
#include "engine/startup.h"
#include "engine/text_files.h"
#include "game/world_tables.h"
#include "platform/download.h"
#include "protocol/table_time.h"
#include "screens/high_score_requests.h"

#include <fstream>
#include <optional>
#include <sstream>
#include <utility>

namespace vastorim {

HighScoreTable highScores;

namespace {

struct Placement {
    std::uint32_t latest = 0; // counts the placements asked for; only the latest one is shown
    bool waiting = false;
};

Placement placement;

// Runs on the worker: the request's reply lands in `replyFile` and is read from there, and the
// file is gone afterwards whatever happened.
std::optional<HighScoreTable> downloadTable(const std::string& url, const std::string& replyFile,
                                            const std::atomic<bool>& stop) {
    bool failed = true;
    platform::downloadFile(url, replyFile, failed, {}, &stop);
    std::optional<HighScoreTable> table;
    if (!failed) {
        std::ifstream file(replyFile, std::ios::binary);
        std::ostringstream reply;
        reply << file.rdbuf();
        table = readTableReply(reply.str());
    }
    deleteFile(replyFile);
    return table;
}

// Asks for the table; once the reply is in, a whole table replaces the one held, then `then`
// runs (on the main thread, in both cases).
void requestTable(std::function<void()> then) {
    postBackgroundJob([url = tableRequestUrl(), replyFile = programFile("~tmp"),
                       then = std::move(then)](const std::atomic<bool>& stop) -> MainThreadStep {
        std::optional<HighScoreTable> table = downloadTable(url, replyFile, stop);
        return [table = std::move(table), then] {
            if (table) {
                highScores = *table;
            }
            then();
        };
    });
}

} // namespace

void resetHighScores() {
    highScores = HighScoreTable{};
    placement = Placement{};
}

void fetchHighScores() {
    if (onlineEnabled) {
        requestTable([] {});
    }
}

void sendScore() {
    if (!onlineEnabled) {
        return;
    }
    postBackgroundJob([url = submissionUrl(globals.playerName, globals.finalTime),
                       replyFile = programFile("~tmp")](const std::atomic<bool>& stop) {
        bool failed = true;
        platform::downloadFile(url, replyFile, failed, {}, &stop);
        deleteFile(replyFile);
        return MainThreadStep{};
    });
}

void placeFinalTime(std::int32_t finalTime) {
    const std::uint32_t ticket = ++placement.latest;
    placement.waiting = true;
    requestTable([ticket, finalTime] {
        if (ticket == placement.latest) {
            placement.waiting = false;
            world.scorePlace = placeScore(finalTime);
        }
    });
}

bool placingFinalTime() {
    return placement.waiting;
}

std::int16_t placeInTable(std::int32_t milliseconds, const std::array<std::string, 10>& times) {
    const double hundredths = milliseconds * 0.1;
    std::int16_t place = -1;
    for (int i = 9; i >= 0; --i) {
        const std::optional<TableTime> entry = TableTime::read(times[i]);
        if (!entry || entry->below(hundredths)) {
            place = static_cast<std::int16_t>(i + 1);
        }
    }
    return place;
}

std::int16_t placeScore(std::int32_t milliseconds) {
    if (!onlineEnabled) {
        return -1;
    }
    return placeInTable(milliseconds, highScores.highScoreTimes);
}

} // namespace vastorim
