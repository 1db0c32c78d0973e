// Whole games through vastorim-sim: scripted keys, the demo pilot, and their replays.
#include "sim_run.h"

#include <gtest/gtest.h>

namespace vastorim::testing {
namespace {

constexpr int frameMs = 16; // the sim's default

// A run without drawing, on seed 7 unless the options, which come later, name another.
SimRun playFor(long frames, const std::string& keys, std::vector<std::string> options = {}) {
    const TempFolder folder;
    options.insert(options.begin(),
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

// The demo pilot starts a game at once and plays it for two minutes.
TEST(DemoGame, ThePilotLastsAMinuteAt28000HzCollectsPickupsAndWeaponsFireOnlyOnTheirFlags) {
    const SimRun run = playFor(7200, "", {"--demo", "--seed", "1"});
    ASSERT_EQ(run.result.status, 0) << run.result.err;
    ASSERT_EQ(run.trace.size(), 7200u);
    const auto weaponLevels = [](const TraceFrame& frame) {
        return frame.number("w1") + frame.number("w2") + frame.number("w3");
    };
    bool lastedAMinute = false;
    int raises = 0, volleys = 0, halfBeatVolleys = 0;
    for (std::size_t i = 1; i < run.trace.size(); ++i) {
        const TraceFrame &frame = run.trace[i], &before = run.trace[i - 1];
        if (frame.number("elapsed") == 60000 && frame.number("finalTime") == 0) {
            lastedAMinute = true;
            EXPECT_NEAR(frame.number("musicFrequency"), 28000, 2) << "the tempo after a minute";
        }
        if (frame.number("gameMode") != 1 || before.number("gameMode") != 1) {
            continue;
        }
        if (weaponLevels(frame) == weaponLevels(before) + 1) {
            ++raises;
            EXPECT_EQ(frame.number("pickups"), before.number("pickups") - 1) << "frame " << i;
        }
        if (frame.number("shots") > before.number("shots")) {
            const bool first = frame.flag("beat") && frame.number("w1") > 0;
            const bool second = frame.flag("halfBeat") && frame.number("w2") > 0;
            const bool third = frame.flag("twoBeat") && frame.number("w3") > 0;
            EXPECT_TRUE(first || second || third) << "frame " << i;
            ++volleys;
            halfBeatVolleys += second && !frame.flag("beat");
        }
    }
    EXPECT_TRUE(lastedAMinute);
    EXPECT_GT(raises, 0);
    EXPECT_GT(volleys, 20);
    EXPECT_GT(halfBeatVolleys, 0) << "weapon 2 never fired between beats";
}

TEST(DemoReplay, SameSeedAndScriptGiveTheSameTraceAndPictures) {
    TempFolder first, second;
    for (const TempFolder* folder : {&first, &second}) {
        const SimRun run =
            play(*folder, "40 press escape\n",
                 {"--demo", "--frames", "100", "--seed", "3", "--screenshot-at", "30", "41", "99"});
        ASSERT_EQ(run.result.status, 0) << run.result.err;
        ASSERT_EQ(run.trace.size(), 100u);
        EXPECT_TRUE(run.trace[41].flag("gamePaused"));
    }
    EXPECT_EQ(readFile(first.file("trace.jsonl")), readFile(second.file("trace.jsonl")));
    for (const char* picture : {"frame-000030.png", "frame-000041.png", "frame-000099.png"}) {
        const std::string bytes = readFile(first.file(picture));
        EXPECT_GT(bytes.size(), 1000u) << picture;
        EXPECT_EQ(bytes, readFile(second.file(picture))) << picture;
    }
}

} // namespace
} // namespace vastorim::testing
