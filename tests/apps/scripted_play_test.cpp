#include "sim_run.h"

#include "protocol/score_key.h"
#include "support/loopback_server.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

namespace vastorim::testing {
namespace {

constexpr int frameMs = 16; // the sim's default

SimRun playFor(long frames, const std::string& keys, std::vector<std::string> options = {}) {
    const TempFolder folder;
    options.insert(options.end(),
                   {"--no-render", "--frames", std::to_string(frames), "--seed", "7"});
    return play(folder, keys, options);
}

TEST(ScriptedPlay, PausingAndResumingLeavesTheSurvivalTimeWhereItWas) {
    const SimRun run = playFor(400, "10 press return\n200 press escape\n300 press return\n");
    ASSERT_EQ(run.trace.size(), 400u) << run.result.err;
    EXPECT_EQ(run.trace[10].number("gameMode"), 0);
    EXPECT_EQ(run.trace[11].number("gameMode"), 1);
    EXPECT_EQ(run.trace[11].number("elapsed"), frameMs);
    const double atPause = run.trace[200].number("elapsed");
    EXPECT_EQ(atPause, 190 * frameMs);
    for (int frame = 201; frame <= 300; ++frame) {
        EXPECT_EQ(run.trace[frame].number("gameMode"), 0);
        EXPECT_TRUE(run.trace[frame].flag("gamePaused"));
    }
    EXPECT_EQ(run.trace[301].number("gameMode"), 1);
    EXPECT_FALSE(run.trace[301].flag("gamePaused"));
    EXPECT_EQ(run.trace[301].number("elapsed"), atPause + frameMs);
}

TEST(ScriptedPlay, MenuNavigation) {
    const SimRun run = playFor(130, "0 press down\n2 press down\n4 press down\n6 press down\n"
                                    "8 press down\n10 press down\n20 press up\n"
                                    "30 press return\n40 press escape\n"
                                    "50 press down\n52 press down\n60 press space\n"
                                    "70 press return\n80 press down\n90 press return\n"
                                    "100 press up\n110 press down\n");
    ASSERT_EQ(run.trace.size(), 130u) << run.result.err;
    struct Expected {
        int frame, screen, cursor;
    };
    // Down stops at the last item, Return and every fire key select, Escape and Return go back.
    for (const Expected& e : {Expected{12, 0, 4}, Expected{21, 0, 3}, Expected{31, 3, -1},
                              Expected{41, 0, 0}, Expected{61, 2, -1}, Expected{71, 0, 0},
                              Expected{91, 1, 0}, Expected{101, 1, 0}, Expected{111, 1, 0}}) {
        EXPECT_EQ(run.trace[e.frame].number("menuScreen"), e.screen) << "frame " << e.frame;
        EXPECT_EQ(run.trace[e.frame].number("menuCursor"), e.cursor) << "frame " << e.frame;
    }
}

// A game left alone ends when the asteroids have worn the ship down; frames of 50 ms make that
// quick, and the same seed replays the same game, so later scripts can act around its end.
class GameOver : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        game = playFor(10000, "0 press return\n", {"--frame-ms", "50"});
        for (const TraceFrame& frame : game.trace) {
            if (frame.number("finalTime") != 0) {
                death = static_cast<long>(frame.number("frame"));
                break;
            }
        }
    }
    void SetUp() override { ASSERT_GT(death, 0) << "the ship survived " << game.trace.size(); }
    static SimRun playAfterDeath(long frames, const std::string& keys) {
        return playFor(death + frames, "0 press return\n" + keys, {"--frame-ms", "50"});
    }
    static std::string at(long offset, const std::string& event) {
        return std::to_string(death + offset) + " " + event + "\n";
    }
    static inline SimRun game;
    static inline long death = -1;
};

TEST_F(GameOver, TheClockFreezesAndTheScreenFadesOverTenSeconds) {
    const auto& trace = game.trace;
    const TraceFrame& end = trace[death];
    EXPECT_EQ(end.number("elapsed"), end.number("finalTime"));
    EXPECT_EQ(trace[death - 1].number("finalTime"), 0);
    for (long f = death; f < death + 260; ++f) {
        EXPECT_EQ(trace[f].number("elapsed"), end.number("finalTime"));
        EXPECT_EQ(trace[f].number("gameMode"), 1);
        EXPECT_EQ(trace[f].number("scorePlace"), -1);
    }
    // 0.1 per second at 50 ms frames: 0.005 per frame, down to 0 after 200 frames.
    EXPECT_NEAR(trace[death + 100].number("globalFade"), end.number("globalFade") - 0.5, 0.01);
    EXPECT_EQ(trace[death + 259].number("globalFade"), 0);
}

TEST_F(GameOver, EscapeDuringTheFadeLeavesTheGameForGood) {
    const SimRun run = playAfterDeath(60, at(40, "press escape"));
    EXPECT_LT(run.trace[death + 40].number("globalFade"), 1);
    const TraceFrame& menu = run.trace[death + 41];
    EXPECT_EQ(menu.number("gameMode"), 0);
    EXPECT_EQ(menu.number("menuScreen"), 0);
    EXPECT_FALSE(menu.flag("gamePaused"));
    EXPECT_EQ(menu.number("globalFade"), 1);
    EXPECT_EQ(menu.number("musicFrequency"), 22000);
    EXPECT_EQ(run.trace[death + 59].number("elapsed"), game.trace[death].number("finalTime"));
}

TEST_F(GameOver, TheNameEntryRules) {
    const SimRun run =
        playAfterDeath(30, at(2, "press return") + at(4, "press 1") + at(6, "press backspace") +
                               at(8, "press q") + at(10, "press w") + at(12, "press return"));
    const auto name = [&](long offset) { return run.trace[death + offset].text("playerName"); };
    EXPECT_EQ(name(1), "player");
    EXPECT_EQ(run.trace[death + 3].number("gameMode"), 1) << "Return on the untouched default";
    EXPECT_EQ(name(5), "player1");
    EXPECT_EQ(name(7), "player");
    EXPECT_EQ(name(11), "playerQW");
    EXPECT_EQ(run.trace[death + 11].number("gameMode"), 1);
    const TraceFrame& after = run.trace[death + 13];
    EXPECT_EQ(after.text("playerName"), "playerQW");
    EXPECT_EQ(after.number("gameMode"), 0);
    EXPECT_EQ(after.number("menuScreen"), 1);
    EXPECT_EQ(after.number("globalFade"), 1);
}

// The same game online against a loopback server, with and without the switch: each request
// finishes before the next frame, so the place shows one frame after the game ends.
TEST_F(GameOver, OnlineThePlaceFollowsTheReplyAndTheTypedNameIsSubmitted) {
    std::string table = "1|999999|FAST|2|999999|FASTER";
    for (int rank = 3; rank <= 10; ++rank) {
        table += "|" + std::to_string(rank) + "|1|SLOW";
    }
    test::LoopbackServer server([&table](const std::string& head) {
        return test::httpReply(200, head.find(" /submit.php?") != std::string::npos ? "OK" : table);
    });
    setenv("VASTORIM_SERVER", server.base().c_str(), 1);
    const std::string keys = "0 press return\n" + at(2, "press backspace") + at(4, "press return");
    const SimRun offline = playFor(death + 8, keys, {"--frame-ms", "50"});
    const SimRun run = playFor(death + 8, keys, {"--frame-ms", "50", "--online"});
    unsetenv("VASTORIM_SERVER");
    EXPECT_EQ(offline.trace.size(), run.trace.size()) << offline.result.err;
    ASSERT_EQ(run.trace.size(), static_cast<std::size_t>(death + 8)) << run.result.err;
    EXPECT_EQ(run.trace[death].number("scorePlace"), -1) << "the reply is on its way";
    EXPECT_EQ(run.trace[death + 1].number("scorePlace"), 3);
    EXPECT_EQ(run.trace[death + 5].number("menuScreen"), 1);
    const auto score = static_cast<std::int32_t>(run.trace[death].number("finalTime")) / 10;
    const std::string tableTarget = "/highscores.php?query=score_list";
    EXPECT_EQ(server.targets(), (std::vector<std::string>{
                                    tableTarget, tableTarget,
                                    "/submit.php?name=PLAYE&score=" + std::to_string(score) +
                                        "&key=" + scoreKey("PLAYE", score, VASTORIM_SCORE_SECRET),
                                    tableTarget}))
        << "the offline run asked for nothing";
    EXPECT_FALSE(std::filesystem::exists(VASTORIM_PROGRAM_DIR "/~tmp"));
}

} // namespace
} // namespace vastorim::testing
