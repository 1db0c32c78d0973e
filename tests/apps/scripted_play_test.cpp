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
// quick, and the same seed replays the same game, so a script can act around its end.
class GameOver : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        for (const TraceFrame& frame :
             playFor(10000, "0 press return\n", {"--frame-ms", "50"}).trace) {
            if (frame.number("finalTime") != 0) {
                death = static_cast<long>(frame.number("frame"));
                break;
            }
        }
    }
    void SetUp() override { ASSERT_GT(death, 0) << "the ship survived"; }
    // The same game, with key presses at frames counted from its end.
    static SimRun playAfterDeath(long frames,
                                 const std::vector<std::pair<long, const char*>>& keys) {
        std::string script = "0 press return\n";
        for (const auto& [offset, key] : keys) {
            script += std::to_string(death + offset) + " press " + key + "\n";
        }
        return playFor(death + frames, script, {"--frame-ms", "50"});
    }
    static inline long death = -1;
};

TEST_F(GameOver, TheClockStopsWhileTheWorldFadesAndEscapeThenLeavesTheGameForGood) {
    const SimRun run = playAfterDeath(60, {{40, "escape"}});
    const double finalTime = run.trace[death].number("finalTime");
    EXPECT_EQ(run.trace[death - 1].number("finalTime"), 0);
    const TraceFrame& fading = run.trace[death + 40];
    EXPECT_EQ(fading.number("gameMode"), 1);
    EXPECT_EQ(fading.number("elapsed"), finalTime);
    EXPECT_NEAR(fading.number("globalFade"), run.trace[death].number("globalFade") - 0.2, 0.01)
        << "0.1 a second";
    const TraceFrame& menu = run.trace[death + 41];
    EXPECT_EQ(menu.number("gameMode"), 0);
    EXPECT_EQ(menu.number("menuScreen"), 0);
    EXPECT_FALSE(menu.flag("gamePaused"));
    EXPECT_EQ(menu.number("globalFade"), 1);
    EXPECT_EQ(menu.number("musicFrequency"), 22000);
    EXPECT_EQ(run.trace[death + 59].number("elapsed"), finalTime);
}

TEST_F(GameOver, ReturnOnAChangedNameGoesToTheHighScoresAndNotOnTheDefault) {
    const SimRun run = playAfterDeath(30, {{2, "return"}, {4, "q"}, {6, "w"}, {8, "return"}});
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
