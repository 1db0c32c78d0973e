#include "support/test_support.h"
#include "support/test_wav.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>

namespace vastorim::test {
namespace {

constexpr long kBeatBytes = 37786;
constexpr long kBeatFrames = kBeatBytes / 2;
constexpr long kLoopEndBytes = 2418305;
constexpr int kSampleRate = 22050;

const std::string kTrackPath = std::string(VASTORIM_PROGRAM_DIR) + "/sound/music.wav";

class MusicTrack : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        bytes = readFile(kTrackPath);
        samples.resize(bytes.size() < 44 ? 0 : (bytes.size() - 44) / 2);
        const auto byte = [](std::size_t at) { return static_cast<unsigned char>(bytes[at]); };
        for (std::size_t i = 0; i < samples.size(); ++i) {
            samples[i] = static_cast<std::int16_t>(byte(44 + 2 * i) | byte(45 + 2 * i) << 8);
        }
    }
    void SetUp() override { ASSERT_GT(bytes.size(), 44u) << kTrackPath; }
    static inline std::string bytes;
    static inline std::vector<std::int16_t> samples;
};

TEST_F(MusicTrack, IsSixteenBitMonoPcmAt22050HzInWholeBeatsWithATailAfterTheLoop) {
    const TempFolder folder;
    writeWav16(folder.file("same.wav"), kSampleRate, 1, samples);
    EXPECT_TRUE(readFile(folder.file("same.wav")) == bytes) << "not plain 16-bit mono PCM";
    const long dataBytes = static_cast<long>(samples.size()) * 2;
    EXPECT_EQ(dataBytes % kBeatBytes, 0) << "whole beats only";
    EXPECT_GE(dataBytes, kLoopEndBytes + kBeatBytes) << "at least one beat after the loop end";
}

// Playing past the loop end and jumping back to the loop start must not be heard: the tail
// continues exactly as the loop begins.
TEST_F(MusicTrack, JoinsWithoutAClick) {
    const std::size_t start = kBeatFrames;           // after the lead-in beat
    const std::size_t end = (kLoopEndBytes - 1) / 2; // first sample at or after the loop end
    for (std::size_t k = 0; k < kBeatFrames; ++k) {
        ASSERT_LE(std::abs(samples[end + k] - samples[start + k]), 2) << "sample " << k;
    }
}

// Drum attacks found from the waveform alone: the first 1 ms step from 30 ms before a beat whose
// next 4 ms carry over three times the energy of the 30 ms before them is the beat's attack.
TEST_F(MusicTrack, DrumsStrikeWithinFiveMillisecondsOfEveryBeat) {
    const auto energy = [](long from, long count) {
        double sum = 0;
        for (long i = from; i < from + count; ++i) {
            sum += static_cast<double>(samples[i]) * samples[i];
        }
        return sum / count;
    };
    const auto attacks = [&](long at) {
        return energy(at, 88) > 3 * energy(at - 660, 660) && energy(at, 88) > 2.0e6;
    };
    for (long beat = 1; beat < static_cast<long>(samples.size()) / kBeatFrames; ++beat) {
        const long due = beat * kBeatFrames;
        long attack = due - 660;
        while (attack <= due + 110 && !attacks(attack)) {
            attack += 22;
        }
        EXPECT_LE(std::abs(attack - due), 110) << "beat " << beat;
    }
}

// The build made the program folder's track; a second run must write the same bytes.
TEST(MusicGenerator, WritesTheSameBytesOnEveryRun) {
    const std::string generator = "'" VASTORIM_PROGRAM_DIR "/../tools/vastorim-music' ";
    const TempFolder folder;
    ASSERT_EQ(runCommand(generator + "'" + folder.file("again.wav") + "'").status, 0);
    EXPECT_TRUE(readFile(folder.file("again.wav")) == readFile(kTrackPath));
}

} // namespace
} // namespace vastorim::test
