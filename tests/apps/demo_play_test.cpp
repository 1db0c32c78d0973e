#include "sim_run.h"

#include <gtest/gtest.h>

namespace vastorim::testing {
namespace {

double weaponLevels(const TraceFrame& frame) {
    return frame.number("w1") + frame.number("w2") + frame.number("w3");
}

// One long demo game shared by the tests below.
class DemoGame : public ::testing::Test {
  protected:
    static constexpr long frames = 7200;
    static void SetUpTestSuite() {
        folder = new TempFolder;
        result = runSim({"--demo", "--no-render", "--frames", std::to_string(frames), "--seed", "1",
                         "--trace", folder->file("trace.jsonl"), "--out", folder->path()});
        trace = readTrace(folder->file("trace.jsonl"));
    }
    static void TearDownTestSuite() {
        delete folder;
        trace.clear();
    }
    static inline TempFolder* folder = nullptr;
    static inline SimResult result;
    static inline std::vector<TraceFrame> trace;
};

TEST_F(DemoGame, ThePilotStartsAGameAndSurvivesBeyondAMinute) {
    ASSERT_EQ(result.status, 0) << result.output;
    ASSERT_EQ(trace.size(), static_cast<std::size_t>(frames));
    long started = -1;
    for (const TraceFrame& frame : trace) {
        if (frame.number("gameMode") == 1) {
            started = static_cast<long>(frame.number("frame"));
            break;
        }
    }
    ASSERT_GE(started, 0);
    EXPECT_LT(started, 120);
    double longest = 0;
    for (const TraceFrame& frame : trace) {
        longest = std::max(longest, frame.number("elapsed"));
    }
    EXPECT_GT(longest, 60000);
}

TEST_F(DemoGame, ThePilotShootsAsteroidsAndCollectsAPickupThatRaisesAWeapon) {
    ASSERT_FALSE(trace.empty());
    bool pickupSeen = false, raised = false, fired = false;
    for (std::size_t i = 1; i < trace.size(); ++i) {
        fired = fired || trace[i].number("shots") > 0;
        pickupSeen = pickupSeen || trace[i].number("pickups") > 0;
        if (trace[i].number("gameMode") == 1 && trace[i - 1].number("gameMode") == 1 &&
            weaponLevels(trace[i]) == weaponLevels(trace[i - 1]) + 1) {
            raised = true;
            // The collected pickup leaves the list in the same frame.
            EXPECT_EQ(trace[i].number("pickups"), trace[i - 1].number("pickups") - 1) << i;
        }
    }
    EXPECT_TRUE(fired);
    EXPECT_TRUE(pickupSeen);
    EXPECT_TRUE(raised);
}

TEST_F(DemoGame, EachWeaponFiresOnlyOnItsOwnFlag) {
    ASSERT_FALSE(trace.empty());
    int halfBeatVolleys = 0;
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
        halfBeatVolleys += second && !frame.flag("beat");
    }
    EXPECT_GT(halfBeatVolleys, 0) << "weapon 2 never fired between beats";
}

TEST(DemoReplay, SameSeedAndScriptGiveTheSameTraceAndPictures) {
    TempFolder first, second;
    const std::string keys = "300 press escape\n340 press return\n";
    for (const TempFolder* folder : {&first, &second}) {
        writeFile(folder->file("keys.txt"), keys);
        const SimResult result =
            runSim({"--demo", "--frames", "400", "--seed", "3", "--input", folder->file("keys.txt"),
                    "--trace", folder->file("trace.jsonl"), "--out", folder->path(),
                    "--screenshot-at", "200", "320", "399"});
        ASSERT_EQ(result.status, 0) << result.output;
    }
    const std::string trace = readFile(first.file("trace.jsonl"));
    EXPECT_FALSE(trace.empty());
    EXPECT_EQ(trace, readFile(second.file("trace.jsonl")));
    for (const char* picture : {"frame-000200.png", "frame-000320.png", "frame-000399.png"}) {
        const std::string bytes = readFile(first.file(picture));
        EXPECT_GT(bytes.size(), 1000u) << picture;
        EXPECT_EQ(bytes, readFile(second.file(picture))) << picture;
    }
}

} // namespace
} // namespace vastorim::testing
