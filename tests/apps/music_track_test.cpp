// The generated music track: its format and length, the loop the beat clock relies on, drums on
// the beat grid, and identical output from every run of the generator.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

constexpr long kBeatBytes = 37786;
constexpr long kLoopStartBytes = 37786;
constexpr long kLoopEndBytes = 2418305;
constexpr int kSampleRate = 22050;

std::vector<std::uint8_t> readBytes(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

std::uint32_t le32(const std::vector<std::uint8_t>& b, std::size_t at) {
    return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) |
           (static_cast<std::uint32_t>(b[at + 3]) << 24);
}

std::uint16_t le16(const std::vector<std::uint8_t>& b, std::size_t at) {
    return static_cast<std::uint16_t>(b[at] | (b[at + 1] << 8));
}

std::string tag(const std::vector<std::uint8_t>& b, std::size_t at) {
    return std::string(b.begin() + static_cast<long>(at), b.begin() + static_cast<long>(at) + 4);
}

const std::string kTrackPath = std::string(VASTORIM_PROGRAM_DIR) + "/sound/music.wav";

class MusicTrack : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        bytes_ = readBytes(kTrackPath);
        ASSERT_GT(bytes_.size(), 44u) << kTrackPath;
        const std::uint32_t dataBytes = le32(bytes_, 40);
        samples_.resize(dataBytes / 2);
        for (std::size_t i = 0; i < samples_.size(); ++i) {
            samples_[i] = static_cast<std::int16_t>(le16(bytes_, 44 + 2 * i));
        }
    }
    static std::vector<std::uint8_t> bytes_;
    static std::vector<std::int16_t> samples_;
};

std::vector<std::uint8_t> MusicTrack::bytes_;
std::vector<std::int16_t> MusicTrack::samples_;

TEST_F(MusicTrack, IsSixteenBitMonoPcmAt22050HzWithTheLoopAndATail) {
    EXPECT_EQ(tag(bytes_, 0), "RIFF");
    EXPECT_EQ(le32(bytes_, 4), bytes_.size() - 8);
    EXPECT_EQ(tag(bytes_, 8), "WAVE");
    EXPECT_EQ(tag(bytes_, 12), "fmt ");
    EXPECT_EQ(le32(bytes_, 16), 16u);
    EXPECT_EQ(le16(bytes_, 20), 1); // PCM
    EXPECT_EQ(le16(bytes_, 22), 1); // mono
    EXPECT_EQ(le32(bytes_, 24), static_cast<std::uint32_t>(kSampleRate));
    EXPECT_EQ(le32(bytes_, 28), static_cast<std::uint32_t>(kSampleRate * 2));
    EXPECT_EQ(le16(bytes_, 32), 2);
    EXPECT_EQ(le16(bytes_, 34), 16);
    EXPECT_EQ(tag(bytes_, 36), "data");
    const long dataBytes = le32(bytes_, 40);
    EXPECT_EQ(static_cast<long>(bytes_.size()), 44 + dataBytes);
    EXPECT_EQ(dataBytes % kBeatBytes, 0) << "whole beats only";
    EXPECT_GE(dataBytes, kLoopEndBytes + kBeatBytes) << "at least one beat after the loop end";
}

TEST_F(MusicTrack, IsLoudWithoutClippingAndNeverFallsSilent) {
    int peak = 0;
    for (std::int16_t s : samples_) {
        peak = std::max(peak, std::abs(static_cast<int>(s)));
    }
    EXPECT_LT(peak, 32767);
    EXPECT_GT(peak, 16000);
    const long beatFrames = kBeatBytes / 2;
    for (long beat = 0; beat * beatFrames < static_cast<long>(samples_.size()); ++beat) {
        double energy = 0;
        for (long i = beat * beatFrames; i < (beat + 1) * beatFrames; ++i) {
            energy += static_cast<double>(samples_[static_cast<std::size_t>(i)]) *
                      samples_[static_cast<std::size_t>(i)];
        }
        EXPECT_GT(std::sqrt(energy / beatFrames), 1500.0) << "beat " << beat;
    }
}

// Playing past the loop end and jumping back to the loop start must not be heard: the tail
// continues exactly as the loop begins.
TEST_F(MusicTrack, JoinsWithoutAClick) {
    const std::size_t start = kLoopStartBytes / 2;
    const std::size_t end = (kLoopEndBytes - 1) / 2; // first sample at or after the loop end
    int worst = 0;
    for (std::size_t k = 0; k < kBeatBytes / 2; ++k) {
        worst = std::max(worst, std::abs(samples_[end + k] - samples_[start + k]));
    }
    EXPECT_LE(worst, 2);
    // And the step across the jump is no bigger than the music's own steps around it.
    int ownStep = 0;
    for (std::size_t i = end - 200; i < end; ++i) {
        ownStep = std::max(ownStep, std::abs(samples_[i + 1] - samples_[i]));
    }
    EXPECT_LE(std::abs(samples_[start] - samples_[end - 1]), ownStep + 2);
}

// Finds drum attacks from the waveform alone: moments where the short-term energy jumps well
// above what came just before.
std::vector<double> detectOnsetsSeconds(const std::vector<std::int16_t>& samples) {
    constexpr int window = 22; // 1 ms
    std::vector<double> energy(samples.size() / window);
    for (std::size_t w = 0; w < energy.size(); ++w) {
        double sum = 0;
        for (int i = 0; i < window; ++i) {
            const double s = samples[w * window + static_cast<std::size_t>(i)];
            sum += s * s;
        }
        energy[w] = sum / window;
    }
    std::vector<double> onsets;
    std::size_t quietUntil = 0;
    for (std::size_t w = 30; w + 4 < energy.size(); ++w) {
        if (w < quietUntil) {
            continue;
        }
        double before = 0;
        for (std::size_t k = w - 30; k < w; ++k) {
            before += energy[k];
        }
        before /= 30;
        double after = 0;
        for (std::size_t k = w; k < w + 4; ++k) {
            after += energy[k];
        }
        after /= 4;
        if (after > 3.0 * before && after > 2.0e6) {
            onsets.push_back(static_cast<double>(w * window) / kSampleRate);
            quietUntil = w + 150;
        }
    }
    return onsets;
}

TEST_F(MusicTrack, DrumsStrikeOnEveryBeatOfTheClock) {
    const std::vector<double> onsets = detectOnsetsSeconds(samples_);
    const double beatSeconds = static_cast<double>(kBeatBytes / 2) / kSampleRate;
    const long beats = static_cast<long>(samples_.size()) / (kBeatBytes / 2);
    for (long beat = 1; beat < beats; ++beat) {
        const double at = beat * beatSeconds;
        const auto near = std::find_if(onsets.begin(), onsets.end(),
                                       [&](double onset) { return std::fabs(onset - at) < 0.005; });
        EXPECT_NE(near, onsets.end()) << "no drum attack within 5 ms of beat " << beat;
    }
}

TEST(MusicGenerator, WritesTheSameBytesOnEveryRun) {
    const std::string generator = std::string(VASTORIM_PROGRAM_DIR) + "/../tools/vastorim-music";
    const auto folder = std::filesystem::temp_directory_path() / "vastorim-music-test";
    std::filesystem::create_directories(folder);
    const std::string first = (folder / "first.wav").string();
    const std::string second = (folder / "second.wav").string();
    ASSERT_EQ(std::system(("\"" + generator + "\" \"" + first + "\"").c_str()), 0);
    ASSERT_EQ(std::system(("\"" + generator + "\" \"" + second + "\"").c_str()), 0);
    const auto a = readBytes(first);
    EXPECT_GT(a.size(), 44u);
    EXPECT_TRUE(a == readBytes(second));
    EXPECT_TRUE(a == readBytes(kTrackPath)) << "the program folder holds a stale track";
    std::filesystem::remove_all(folder);
}

TEST(MusicGenerator, RefusesAMissingArgumentAndAnUnwritablePath) {
    const std::string generator = std::string(VASTORIM_PROGRAM_DIR) + "/../tools/vastorim-music";
    EXPECT_NE(std::system(("\"" + generator + "\" 2>/dev/null").c_str()), 0);
    EXPECT_NE(std::system(("\"" + generator + "\" /nonexistent/folder/x.wav 2>/dev/null").c_str()),
              0);
}

} // namespace
