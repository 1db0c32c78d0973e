#include "sim_run.h"

#include <gtest/gtest.h>

#include <cmath>

namespace vastorim::testing {
namespace {

// Frames of 16 ms, the sim's default.
constexpr int frameMs = 16;

struct PlayRun {
    SimResult result;
    std::vector<TraceFrame> trace;
};

// Plays `frames` frames with the script `keys` and gives the trace, one entry per frame.
PlayRun play(const TempFolder& folder, long frames, const std::string& keys,
             std::vector<std::string> extra = {}) {
    writeFile(folder.file("keys.txt"), keys);
    std::vector<std::string> arguments = {"--frames", std::to_string(frames),
                                          "--seed",   "7",
                                          "--input",  folder.file("keys.txt"),
                                          "--trace",  folder.file("trace.jsonl"),
                                          "--out",    folder.path()};
    arguments.insert(arguments.end(), extra.begin(), extra.end());
    PlayRun run{runSim(arguments), {}};
    run.trace = readTrace(folder.file("trace.jsonl"));
    return run;
}

// The first frame at which the game is over, playing without keys; -1 when it does not end.
long firstGameOverFrame(const std::vector<TraceFrame>& trace) {
    for (const TraceFrame& frame : trace) {
        if (frame.number("finalTime") != 0) {
            return static_cast<long>(frame.number("frame"));
        }
    }
    return -1;
}

TEST(ScriptedPlay, PausingAndResumingLeavesTheSurvivalTimeWhereItWas) {
    TempFolder folder;
    const PlayRun run = play(folder, 700,
                             "10 press return   # start\n"
                             "200 press escape  # suspend\n"
                             "500 press return  # resume\n",
                             {"--no-render"});
    ASSERT_EQ(run.result.status, 0) << run.result.output;
    ASSERT_EQ(run.trace.size(), 700u);
    EXPECT_EQ(run.trace[10].number("gameMode"), 0);
    EXPECT_EQ(run.trace[11].number("gameMode"), 1);
    EXPECT_EQ(run.trace[11].number("elapsed"), frameMs);
    const double atPause = run.trace[200].number("elapsed");
    EXPECT_EQ(atPause, 190 * frameMs);
    for (int frame = 201; frame <= 500; ++frame) {
        EXPECT_EQ(run.trace[frame].number("gameMode"), 0);
        EXPECT_TRUE(run.trace[frame].flag("gamePaused"));
    }
    EXPECT_EQ(run.trace[501].number("gameMode"), 1);
    EXPECT_FALSE(run.trace[501].flag("gamePaused"));
    EXPECT_EQ(run.trace[501].number("elapsed"), atPause + frameMs);
}

TEST(ScriptedPlay, TheTempoRisesByAHundredHertzPerSecondOfPlay) {
    TempFolder folder;
    const PlayRun run = play(folder, 3800, "0 press return\n", {"--no-render", "--frame-ms", "16"});
    ASSERT_EQ(run.result.status, 0) << run.result.output;
    bool checked = false;
    for (const TraceFrame& frame : run.trace) {
        if (frame.number("elapsed") == 60000 && frame.number("finalTime") == 0) {
            EXPECT_NEAR(frame.number("musicFrequency"), 28000, 2);
            checked = true;
        }
    }
    EXPECT_TRUE(checked) << "the game did not last a minute";
}

TEST(ScriptedPlay, WeaponOneFiresOnlyOnBeats) {
    TempFolder folder;
    const PlayRun run = play(folder, 600, "0 press return\n5 down space\n", {"--no-render"});
    ASSERT_EQ(run.result.status, 0) << run.result.output;
    int volleys = 0;
    for (std::size_t i = 7; i < run.trace.size(); ++i) {
        const TraceFrame& frame = run.trace[i];
        ASSERT_EQ(frame.number("w2"), 0);
        ASSERT_EQ(frame.number("w3"), 0);
        if (frame.number("shots") > run.trace[i - 1].number("shots")) {
            EXPECT_TRUE(frame.flag("beat")) << "frame " << i;
            ++volleys;
        }
    }
    EXPECT_GE(volleys, 5);
}

TEST(ScriptedPlay, MenuNavigationAndTheSubScreens) {
    TempFolder folder;
    const PlayRun run = play(folder, 900,
                             "0 press down\n2 press down\n4 press down\n6 press down\n"
                             "8 press down\n10 press down\n"
                             "20 press up\n"
                             "30 press return   # about\n"
                             "400 press escape\n"
                             "410 press down\n412 press down\n"
                             "420 press space   # instructions, with the fire key\n"
                             "700 press return\n"
                             "710 press down\n720 press return  # high scores\n"
                             "800 press up\n810 press down\n");
    ASSERT_EQ(run.result.status, 0) << run.result.output;
    EXPECT_EQ(run.trace[12].number("menuCursor"), 4);
    EXPECT_EQ(run.trace[21].number("menuCursor"), 3);
    EXPECT_EQ(run.trace[31].number("menuScreen"), 3);
    EXPECT_EQ(run.trace[31].number("menuCursor"), -1);

    // The about screen shows one more line on each fourth beat; instructions on each beat.
    auto expectOneStepPerPulse = [&](int from, int to, const char* pulse) {
        int pulses = 0;
        for (int f = from; f <= to; ++f) {
            pulses += run.trace[f].flag(pulse);
            EXPECT_EQ(run.trace[f].number("screenStep"), pulses) << "frame " << f;
        }
        EXPECT_GE(pulses, 1);
    };
    expectOneStepPerPulse(31, 400, "fourBeat");
    EXPECT_EQ(run.trace[401].number("menuScreen"), 0);
    EXPECT_EQ(run.trace[401].number("screenStep"), 0);
    EXPECT_EQ(run.trace[401].number("menuCursor"), 0);
    EXPECT_EQ(run.trace[421].number("menuScreen"), 2);
    expectOneStepPerPulse(421, 700, "beat");
    EXPECT_EQ(run.trace[701].number("menuScreen"), 0);

    // Offline, the high-score screen reveals nothing; Up and Down leave its cursor alone.
    EXPECT_EQ(run.trace[721].number("menuScreen"), 1);
    for (int f = 721; f < 900; ++f) {
        EXPECT_EQ(run.trace[f].number("screenStep"), 0);
        EXPECT_EQ(run.trace[f].number("menuCursor"), 0);
    }
}

TEST(ScriptedPlay, EscapeOnTheMainMenuEndsTheRun) {
    TempFolder folder;
    const PlayRun run = play(folder, 500, "40 press escape\n");
    EXPECT_EQ(run.result.status, 0) << run.result.output;
    EXPECT_EQ(run.trace.size(), 41u);
}

TEST(ScriptedPlay, AMalformedScriptIsReportedWithItsLine) {
    TempFolder folder;
    const PlayRun run = play(folder, 10, "0 press return\n3 hold space\n");
    EXPECT_NE(run.result.status, 0);
    EXPECT_NE(run.result.output.find("keys.txt:2"), std::string::npos) << run.result.output;
    EXPECT_TRUE(run.trace.empty());
}

// A game left alone ends when the asteroids have worn the ship down; frames of 50 ms make that
// quick. The same seed and script replay the same game, so later scripts can act around its end.
class GameOver : public ::testing::Test {
  protected:
    static constexpr long frames = 20000;
    static void SetUpTestSuite() {
        TempFolder folder;
        const PlayRun run = play(folder, frames, "0 press return\n", options());
        deathFrame = firstGameOverFrame(run.trace);
    }
    static std::vector<std::string> options() { return {"--no-render", "--frame-ms", "50"}; }
    static inline long deathFrame = -1;
};

TEST_F(GameOver, TheClockFreezesAndTheScreenFadesOverTenSeconds) {
    ASSERT_GT(deathFrame, 0) << "the ship survived " << frames << " frames";
    TempFolder folder;
    const PlayRun run = play(folder, deathFrame + 260, "0 press return\n", options());
    const TraceFrame& end = run.trace[deathFrame];
    EXPECT_EQ(end.number("elapsed"), end.number("finalTime"));
    EXPECT_EQ(run.trace[deathFrame - 1].number("finalTime"), 0);
    for (long f = deathFrame; f < deathFrame + 260; ++f) {
        EXPECT_EQ(run.trace[f].number("elapsed"), end.number("finalTime"));
        EXPECT_EQ(run.trace[f].number("gameMode"), 1);
        EXPECT_EQ(run.trace[f].number("scorePlace"), -1);
    }
    // 0.1 per second at 50 ms frames: 0.005 per frame, down to 0 after 200 frames.
    EXPECT_NEAR(run.trace[deathFrame + 100].number("globalFade"),
                run.trace[deathFrame].number("globalFade") - 0.5, 0.01);
    EXPECT_EQ(run.trace[deathFrame + 259].number("globalFade"), 0);
}

TEST_F(GameOver, EscapeDuringTheFadeLeavesTheGameForGood) {
    ASSERT_GT(deathFrame, 0);
    TempFolder folder;
    const long escape = deathFrame + 40;
    const PlayRun run =
        play(folder, escape + 20, "0 press return\n" + std::to_string(escape) + " press escape\n",
             options());
    EXPECT_LT(run.trace[escape].number("globalFade"), 1);
    const TraceFrame& menu = run.trace[escape + 1];
    EXPECT_EQ(menu.number("gameMode"), 0);
    EXPECT_EQ(menu.number("menuScreen"), 0);
    EXPECT_FALSE(menu.flag("gamePaused"));
    EXPECT_EQ(menu.number("globalFade"), 1);
    EXPECT_EQ(menu.number("musicFrequency"), 22000);
    // The survival time stays frozen in the menu.
    EXPECT_EQ(run.trace[escape + 19].number("elapsed"), run.trace[deathFrame].number("finalTime"));
}

TEST_F(GameOver, TheNameEntryRules) {
    ASSERT_GT(deathFrame, 0);
    TempFolder folder;
    const long d = deathFrame + 2;
    auto at = [&](long offset, const std::string& event) {
        return std::to_string(d + offset) + " " + event + "\n";
    };
    const std::string keys = "0 press return\n" + at(0, "press return") + at(2, "press 0") +
                             at(4, "press 1") + at(6, "press backspace") + at(8, "press q") +
                             at(10, "press w") + at(12, "press e") + at(14, "press r") +
                             at(16, "press t") + at(18, "press return");
    const PlayRun run = play(folder, d + 30, keys, options());
    ASSERT_EQ(run.result.status, 0) << run.result.output;
    EXPECT_EQ(run.trace[d - 1].text("playerName"), "player");
    // Return with the untouched default does nothing.
    EXPECT_EQ(run.trace[d + 1].number("gameMode"), 1);
    EXPECT_EQ(run.trace[d + 3].text("playerName"), "player");
    EXPECT_EQ(run.trace[d + 5].text("playerName"), "player1");
    EXPECT_EQ(run.trace[d + 7].text("playerName"), "player");
    EXPECT_EQ(run.trace[d + 17].text("playerName"), "playerQWER");
    EXPECT_EQ(run.trace[d + 17].number("gameMode"), 1);
    // Enter with an edited name opens the high-score screen.
    const TraceFrame& after = run.trace[d + 19];
    EXPECT_EQ(after.text("playerName"), "playerQWER");
    EXPECT_EQ(after.number("gameMode"), 0);
    EXPECT_EQ(after.number("menuScreen"), 1);
    EXPECT_EQ(after.number("screenStep"), 0);
    EXPECT_FALSE(after.flag("gamePaused"));
    EXPECT_EQ(after.number("globalFade"), 1);
}

} // namespace
} // namespace vastorim::testing
