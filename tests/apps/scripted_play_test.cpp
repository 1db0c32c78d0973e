#include "sim_run.h"

#include <gtest/gtest.h>

namespace vastorim::testing {
namespace {

constexpr int frameMs = 16; // the sim's default

SimRun playFor(long frames, const std::string& keys, std::vector<std::string> options = {}) {
    const TempFolder folder;
    options.insert(options.end(),
                   {"--no-render", "--frames", std::to_string(frames), "--seed", "7"});
    return play(folder, keys, options);
}

TEST(ScriptedPlay, EscapePausesAndReturnResumesWithoutCountingThePause) {
    const SimRun run = playFor(400, "10 press return\n200 press escape\n300 press return\n");
    ASSERT_EQ(run.trace.size(), 400u) << run.result.err;
    EXPECT_EQ(run.trace[10].number("gameMode"), 0);
    EXPECT_EQ(run.trace[11].number("gameMode"), 1);
    EXPECT_EQ(run.trace[11].number("elapsed"), frameMs);
    EXPECT_EQ(run.trace[200].number("elapsed"), 190 * frameMs);
    for (int frame : {201, 300}) {
        EXPECT_EQ(run.trace[frame].number("gameMode"), 0);
        EXPECT_TRUE(run.trace[frame].flag("gamePaused"));
    }
    EXPECT_EQ(run.trace[301].number("gameMode"), 1);
    EXPECT_FALSE(run.trace[301].flag("gamePaused"));
    EXPECT_EQ(run.trace[301].number("elapsed"), 191 * frameMs);
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

TEST_F(GameOver, TheClockStopsAtTheFinalTimeWhileTheWorldFadesOutOverTenSeconds) {
    const TraceFrame& end = game.trace[death];
    EXPECT_EQ(game.trace[death - 1].number("finalTime"), 0);
    // 0.1 per second at 50 ms frames: 0.005 per frame, down to 0 after 200 frames.
    for (const auto& [offset, fade] :
         {std::pair{100L, end.number("globalFade") - 0.5}, std::pair{259L, 0.0}}) {
        const TraceFrame& frame = game.trace[death + offset];
        EXPECT_EQ(frame.number("elapsed"), end.number("finalTime"));
        EXPECT_EQ(frame.number("gameMode"), 1);
        EXPECT_NEAR(frame.number("globalFade"), fade, 0.01);
    }
    EXPECT_EQ(end.number("elapsed"), end.number("finalTime"));
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

TEST_F(GameOver, ReturnOnAChangedNameGoesToTheHighScoresAndNotOnTheDefault) {
    const SimRun run = playAfterDeath(30, at(2, "press return") + at(4, "press q") +
                                              at(6, "press w") + at(8, "press return"));
    EXPECT_EQ(run.trace[death + 1].text("playerName"), "player");
    EXPECT_EQ(run.trace[death + 3].number("gameMode"), 1) << "Return on the untouched default";
    EXPECT_EQ(run.trace[death + 7].number("gameMode"), 1);
    const TraceFrame& after = run.trace[death + 9];
    EXPECT_EQ(after.text("playerName"), "playerQW");
    EXPECT_EQ(after.number("gameMode"), 0);
    EXPECT_EQ(after.number("menuScreen"), 1);
    EXPECT_EQ(after.number("globalFade"), 1);
}

} // namespace
} // namespace vastorim::testing
