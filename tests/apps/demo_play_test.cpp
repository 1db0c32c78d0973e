#include "sim_run.h"

#include <gtest/gtest.h>

namespace vastorim::testing {
namespace {

// The demo pilot starts a game at once and plays it for two minutes.
TEST(DemoGame, ThePilotLastsAMinuteAt28000HzCollectsPickupsAndWeaponsFireOnlyOnTheirFlags) {
    const TempFolder folder;
    const SimRun run =
        play(folder, "", {"--demo", "--no-render", "--frames", "7200", "--seed", "1"});
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
