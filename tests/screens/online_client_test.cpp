#include "engine/app_path.h"
#include "engine/background_jobs.h"
#include "engine/game_setup.h"
#include "engine/startup.h"
#include "engine/textures.h"
#include "game/world_tables.h"
#include "platform/platform.h"
#include "protocol/score_key.h"
#include "screens/game_over.h"
#include "screens/high_scores.h"
#include "support/loopback_server.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>

namespace vastorim {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;
using test::LoopbackServer;

// The client with the switch on, a program folder of its own and the table 9000, 8000, ..., 0
// held, in which 85 s takes place 2. The whole way through the sim: tests/apps.
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
    static void finishRequests() {
        waitForBackgroundJobs();
        applyFinishedJobs();
    }

    test::TempFolder folder;
    std::array<std::string, 10> held;
};

TEST_F(OnlineClient, FailuresPlaceInTheTableHeldAndSubmissionsCarryNameScoreAndKey) {
    useServer(test::refusedBase());
    placeFinalTime(85000);
    EXPECT_TRUE(placingFinalTime());
    finishRequests();
    EXPECT_FALSE(placingFinalTime());
    EXPECT_EQ(world.scorePlace, 2);

    const LoopbackServer server([](const std::string&) { return test::httpReply(200, "OK"); });
    useServer(server.base());
    globals.playerName = "ab cd";
    for (const std::int32_t finalTime : {0, 12344, 12346, 25}) {
        globals.finalTime = finalTime; // 0: Escape during play, nothing to send
        submitScore();
    }
    finishRequests();
    EXPECT_EQ(globals.playerName, "AB CD");
    const std::string secret = VASTORIM_SCORE_SECRET;
    EXPECT_EQ(server.targets(),
              (std::vector<std::string>{
                  "/submit.php?name=AB%20CD&score=1234&key=" + scoreKey("AB CD", 1234, secret),
                  "/submit.php?name=AB%20CD&score=1235&key=" + scoreKey("AB CD", 1235, secret),
                  "/submit.php?name=AB%20CD&score=2&key=" + scoreKey("AB CD", 2, secret)}));
    EXPECT_EQ(highScores.highScoreTimes, held);
    EXPECT_TRUE(test::folderEntries(folder.path()).empty()) << "the reply file is gone";
}

// The start-up fetch against each fault in the game's own loop, requests left to the background:
// the frames keep coming, quitting does not wait for the server, and the table and the program
// folder stay as they were.
TEST_F(OnlineClient, FaultsLeaveTheTableAndTheDiskAsTheyWereAndNeverStallAFrame) {
    const std::pair<const char*, std::optional<std::string>> faults[] = {
        {"connection refused", ""}, // "": asked of a port where nothing listens
        {"silent", std::nullopt},
        {"truncated", "HTTP/1.1 200 OK\r\nContent-Length: 4000\r\n\r\n1|2|A|"},
        {"10 MB", test::httpReply(200, std::string(10 << 20, '|'))},
        {"404", test::httpReply(404, "no table here")},
        {"500", test::httpReply(500, "broken")},
        {"29 fields", test::httpReply(200, std::string(28, '|') + "\n")},
    };
    test::writeProgramFolder(folder.path(), {"white.png", "END"});
    folder.write("game setup.txt",
                 "false\r\ntrue\r\ntrue\r\n1\r\nup\r\ndown\r\nleft\r\nright\r\nspace\r\n");
    const std::vector<std::string> entries = test::folderEntries(folder.path());
    for (const auto& [name, reply] : faults) {
        const LoopbackServer server([&reply](const std::string&) { return reply; });
        useServer(reply && reply->empty() ? test::refusedBase() : server.base());
        platform::Platform platform = platform::createHeadlessPlatform(16);
        platform.finishRequestsEachFrame = false;
        hooks.fetchHighScores = fetchHighScores;
        Clock::time_point firstFrame{}, lastFrame{};
        Clock::duration longestGap{};
        hooks.afterFrame = [&] {
            const Clock::time_point now = Clock::now();
            if (firstFrame == Clock::time_point{}) {
                firstFrame = lastFrame = now;
            }
            longestGap = std::max(longestGap, now - lastFrame);
            lastFrame = now;
            globals.gameRunning = backgroundJobsPending() && now - firstFrame < 300ms;
        };
        ASSERT_EQ(Main({"run"}, platform), 0) << name;
        EXPECT_LT(Clock::now() - lastFrame, 250ms) << name << ": quitting waited";
        EXPECT_LT(longestGap, 50ms) << name;
        EXPECT_EQ(highScores.highScoreTimes, held) << name;
        EXPECT_EQ(test::folderEntries(folder.path()), entries) << name;
        EXPECT_EQ(server.heads().size(), reply && reply->empty() ? 0u : 1u) << name;
    }
}

} // namespace
} // namespace vastorim
