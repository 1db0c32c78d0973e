#include "sim_run.h"

#include <gtest/gtest.h>

namespace vastorim::testing {
namespace {

double weaponLevels(const TraceFrame& frame) {
    return frame.number("w1") + frame.number("w2") + frame.number("w3");
}

// The demo pilot starts a game at once and plays it for two minutes; the tests share its trace.
class DemoGame : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        TempFolder folder;
        run = play(folder, "", {"--demo", "--no-render", "--frames", "7200", "--seed", "1"});
    }
    void SetUp() override {
        ASSERT_EQ(run.result.status, 0) << run.result.err;
        ASSERT_EQ(run.trace.size(), 7200u);
    }
    static inline SimRun run;
};

TEST_F(DemoGame, TheTempoAfterAMinuteOfPlayIs28000Hz) {
    bool checked = false;
    for (const TraceFrame& frame : run.trace) {
        if (frame.number("elapsed") == 60000 && frame.number("finalTime") == 0) {
            EXPECT_NEAR(frame.number("musicFrequency"), 28000, 2);
            checked = true;
        }
    }
    EXPECT_TRUE(checked) << "the game did not last a minute";
}

TEST_F(DemoGame, ACollectedPickupRaisesAWeaponAndLeavesTheList) {
    const auto& trace = run.trace;
    bool raised = false;
    for (std::size_t i = 1; i < trace.size(); ++i) {
        if (trace[i].number("gameMode") == 1 && trace[i - 1].number("gameMode") == 1 &&
            weaponLevels(trace[i]) == weaponLevels(trace[i - 1]) + 1) {
            raised = true;
            EXPECT_EQ(trace[i].number("pickups"), trace[i - 1].number("pickups") - 1) << i;
        }
    }
    EXPECT_TRUE(raised);
}

TEST_F(DemoGame, EachWeaponFiresOnlyOnItsOwnFlag) {
    const auto& trace = run.trace;
    int volleys = 0, halfBeatVolleys = 0;
    for (std::size_t i = 1; i < trace.size(); ++i) {
        const TraceFrame& frame = trace[i];
        if (frame.number("gameMode") != 1 ||
            frame.number("shots") <= trace[i - 1].number("shots")) {
            continue;
        }
        const bool first = frame.flag("beat") && frame.number("w1") > 0;
        const bool second = frame.flag("halfBeat") && frame.number("w2") > 0;
        const bool third = frame.flag("twoBeat") && frame.number("w3") > 0;
        EXPECT_TRUE(first || second || third) << "frame " << i;
        ++volleys;
        halfBeatVolleys += second && !frame.flag("beat");
    }
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
