// The online client: against the real server, and in the game's own loop against each fault of a
// scripted one. Whole games online: tests/apps.
#include "engine/app_path.h"
#include "engine/background_jobs.h"
#include "engine/game_setup.h"
#include "engine/startup.h"
#include "engine/textures.h"
#include "game/world_tables.h"
#include "platform/platform.h"
#include "screens/game_over.h"
#include "screens/high_scores.h"
#include "support/loopback_server.h"
#include "support/running_server.h"

#include <gtest/gtest.h>

#include <sys/resource.h>

#include <chrono>
#include <cstdlib>

namespace vastorim {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

// The client with the switch on, a program folder of its own and the table 9000, 8000, ..., 0
// held, in which 85 s takes place 2.
class OnlineClient : public ::testing::Test {
  protected:
    void SetUp() override {
        resetGlobalState();
        resetHighScores();
        setAppPath(folder.path());
        onlineEnabled = true;
        for (int i = 0; i < 10; ++i) {
            highScores.highScoreTimes[i] = std::to_string(9000 - 1000 * i);
        }
        held = highScores.highScoreTimes;
    }
    void TearDown() override {
        stopBackgroundJobs();
        unsetenv("VASTORIM_SERVER");
        hooks = EngineHooks{};
        onlineEnabled = false;
        resetHighScores();
        resetWorld();
        resetGlobalState();
        resetTextureList();
        setAppPath(".");
    }
    static void useServer(const std::string& base) { setenv("VASTORIM_SERVER", base.c_str(), 1); }

    test::TempFolder folder;
    std::array<std::string, 10> held;
};

TEST_F(OnlineClient, TheRealServerStoresTheSubmissionsAsSentAndTheNextFetchBringsThem) {
    const test::TempFolder serverFolder;
    const test::RunningServer server(serverFolder);
    useServer(server.base());
    globals.playerName = "ab cd";
    for (const std::int32_t finalTime : {12344, 0, 12346, 25}) { // 25: 2.5 rounds to even
        globals.finalTime = finalTime; // 0: Escape during play, nothing to send
        submitScore();
    }
    fetchHighScores();
    waitForBackgroundJobs();
    applyFinishedJobs();
    EXPECT_EQ(globals.playerName, "AB CD");
    EXPECT_EQ(highScores.highScoreTimes, (std::array<std::string, 10>{"1235", "1234", "2"}));
    EXPECT_EQ(highScores.highScoreNames, (std::array<std::string, 10>{"AB CD", "AB CD", "AB CD"}));
    const std::string submission = "GET /submit.php 200";
    const std::string upload = "POST /replay 200"; // kept, unverified: no game folder here
    EXPECT_EQ(server.requests(),
              (std::vector<std::string>{submission, upload, submission, upload, submission, upload,
                                        "GET /highscores.php 200"}));
    EXPECT_TRUE(test::folderEntries(folder.path()).empty()) << "the reply file is gone";
}

// Every kind of request meets each fault while the game's loop runs, requests left to the
// background: the window comes at once, the frames keep coming, quitting does not wait for the
// server, the place comes from the table held, and the table and the program folder stay as they
// were.
TEST_F(OnlineClient, FaultsLeaveTheTableAndTheDiskAsTheyWereAndNeverStallAFrame) {
    // Status 0: never answered; bytes missing: the connection closes short of the length sent.
    using Fault = std::tuple<const char*, int, std::string, std::size_t>;
    const Fault faults[] = {
        {"connection refused", 200, "", 0},
        {"silent", 0, "", 0},
        {"truncated", 200, "1|2|A|", 3994},
        {"10 MB", 200, std::string(10 << 20, '|'), 0},
        {"404", 404, "no table here", 0},
        {"500", 500, "broken", 0},
        {"29 fields", 200, std::string(28, '|') + "\n", 0},
    };
    test::writeProgramFolder(folder.path(), {"white.png", "END"});
    folder.write("game setup.txt",
                 "false\r\ntrue\r\ntrue\r\n1\r\nup\r\ndown\r\nleft\r\nright\r\nspace\r\n");
    const std::vector<std::string> entries = test::folderEntries(folder.path());
    for (const auto& fault : faults) {
        // Named copies: clang 14 lambdas cannot capture a structured binding.
        const auto& [name, status, body, missing] = fault;
        const int replyStatus = status;
        const std::string& replyBody = body;
        const std::size_t replyMissing = missing;
        std::atomic<int> asked = 0;
        const test::LoopbackServer server([&](const auto&, httplib::Response& response) {
            ++asked;
            response.status = replyStatus;
            response.set_content_provider(
                replyBody.size() + replyMissing, "text/plain",
                [&](std::size_t, std::size_t, httplib::DataSink& sink) {
                    return sink.write(replyBody.data(), replyBody.size()) && replyMissing == 0;
                });
            return replyStatus != 0;
        });
        const bool refused = std::string(name) == "connection refused", hangs = status == 0;
        useServer(refused ? test::refusedBase() : server.base());
        platform::Platform platform = platform::createHeadlessPlatform(16);
        platform.finishRequestsEachFrame = false;
        world.scorePlace = -1;
        hooks.fetchHighScores = [] {
            fetchHighScores();
            placeFinalTime(85000);
            globals.finalTime = 85000;
            globals.playerName = "ACE";
            submitScore();
        };
        // A frame that came late only because other programs had the processors is not the
        // loop's doing: only gaps in which the loop waited of its own accord count.
        const Clock::time_point start = Clock::now();
        Clock::time_point lastFrame{};
        long lastWaits = 0;
        Clock::duration longestWait{};
        bool waitingAtFirstFrame = false;
        hooks.afterFrame = [&] {
            const Clock::time_point now = Clock::now();
            rusage usage{};
            getrusage(RUSAGE_THREAD, &usage);
            if (lastFrame != Clock::time_point{} && usage.ru_nvcsw != lastWaits) {
                longestWait = std::max(longestWait, now - lastFrame);
            } else if (lastFrame == Clock::time_point{}) {
                waitingAtFirstFrame = backgroundJobsPending();
            }
            std::tie(lastFrame, lastWaits) = std::tuple(now, usage.ru_nvcsw);
            // Long enough for start-up and four requests on a loaded machine; a hanging server
            // holds the loop that long.
            globals.gameRunning = backgroundJobsPending() && now - start < 1500ms;
        };
        ASSERT_EQ(Main({"run"}, platform), 0) << name;
        EXPECT_TRUE(waitingAtFirstFrame || !hangs) << "the window waited for the server";
        EXPECT_LT(longestWait, 50ms) << name;
        EXPECT_LT(Clock::now() - lastFrame, 2s) << name << ": quitting waited";
        EXPECT_EQ(std::pair(placingFinalTime(), int{world.scorePlace}),
                  std::pair(hangs, hangs ? -1 : 2))
            << name;
        EXPECT_EQ(highScores.highScoreTimes, held) << name;
        EXPECT_EQ(test::folderEntries(folder.path()), entries) << name;
        EXPECT_EQ(asked, refused ? 0 : hangs ? 1 : 4) << name << ": two tables, a score, a replay";
    }
}

} // namespace
} // namespace vastorim
