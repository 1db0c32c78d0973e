#include "protocol/replay_file.h"

#include <gtest/gtest.h>

#include <string>

namespace vastorim {
namespace {

const ReplayIdentity identity{"1.10.26-GNU12-0123456789abcdef", std::string(64, 'c')};

std::string sampleReplay(const ReplayStart& start, const std::vector<ReplayFrame>& frames) {
    ReplayFrames recorded;
    for (std::size_t i = 0; i + 1 < frames.size(); ++i) {
        recorded.add(frames[i]);
    }
    return encodeReplay(identity, start, recorded, &frames.back());
}

// The clock may wrap and the music go back to its loop: both survive as differences.
TEST(ReplayFile, EverythingRecordedReadsBackThroughTheCompression) {
    const ReplayStart start{0xFFFFFFFFFFFFull, true, "false\r\ntrue\r\n", -5, 2147483000};
    const std::vector<ReplayFrame> frames = {
        {2147483000, 2418305, {}},
        {-2147483000, 37786, {{ReplayEvent::Kind::KeyDown, 13}, {ReplayEvent::Kind::KeyUp, 13}}},
        {-2147482984, 0, {{ReplayEvent::Kind::FocusLost, 0}, {ReplayEvent::Kind::KeyDown, 300}}}};
    const Replay replay = decodeReplay(sampleReplay(start, frames), identity);
    EXPECT_EQ(replay.identity, identity);
    EXPECT_EQ(replay.start, start);
    EXPECT_EQ(replay.frames, frames);
}

// A run goes on recording after a game's replay is cut from it, an hour of frames costs well under
// a byte a frame, and the replay the game keeps holds no more memory than its bytes.
TEST(ReplayFile, AnHourLongRunCutInTheMiddleAndAtTheEndReadsBackWhole) {
    std::vector<ReplayFrame> frames;
    for (std::int32_t frame = 0; frame < 216000; ++frame) {
        frames.push_back({16 * frame, static_cast<std::uint32_t>(705 * frame), {}});
        if (frame % 4999 == 0) {
            frames.back().events.push_back({ReplayEvent::Kind::KeyDown, frame % 300});
        }
    }
    const ReplayStart start{3, true, "setup", -16, 0};
    ReplayFrames recorded;
    std::string middle;
    for (std::size_t frame = 0; frame < frames.size(); ++frame) {
        if (frame == 100000) {
            middle = encodeReplay(identity, start, recorded, &frames[frame]);
        }
        recorded.add(frames[frame]);
    }
    const std::string whole = encodeReplay(identity, start, recorded);
    EXPECT_EQ(decodeReplay(middle, identity).frames,
              std::vector<ReplayFrame>(frames.begin(), frames.begin() + 100001));
    const Replay replay = decodeReplay(whole, identity);
    EXPECT_EQ(replay.start, start);
    EXPECT_EQ(replay.frames, frames);
    EXPECT_LT(recorded.memoryBytes(), frames.size());
    EXPECT_LT(whole.capacity(), 2 * whole.size());
}

TEST(ReplayFile, AnotherBuildOtherContentAndDamagedFilesAreRefusedWithTheirReason) {
    const std::string good = sampleReplay({7, false, "setup", 0, 16}, {{32, 9000, {}}});
    ReplayIdentity otherBuild = identity, otherContent = identity;
    otherBuild.build = "1.10.27";
    otherContent.contentHash = std::string(64, 'd');
    std::string newerFormat = good, flipped = good;
    newerFormat[8] = 2;
    flipped.back() ^= 1; // the check sum
    using Case = std::tuple<std::string, ReplayIdentity, std::string>;
    for (const auto& [file, expected, reason] :
         {Case{good, otherBuild,
               "recorded by build 1.10.26-GNU12-0123456789abcdef, this is "
               "build 1.10.27"},
          Case{good, otherContent, "recorded on other content (hash cccc"},
          Case{newerFormat, identity, "replay format version 2, this build reads version 1"},
          Case{"VSTRM", identity, "not a replay file"},
          Case{good.substr(0, good.size() - 3), identity, "truncated body"},
          Case{flipped, identity, "corrupt body"}, Case{good + "x", identity, "corrupt body"}}) {
        try {
            decodeReplay(file, expected);
            ADD_FAILURE() << "taken: " << reason;
        } catch (const ReplayError& error) {
            EXPECT_EQ(std::string(error.what()).substr(0, reason.size()), reason);
        }
    }
}

} // namespace
} // namespace vastorim
