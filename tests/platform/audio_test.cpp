#include "platform/audio.h"
#include "support/test_wav.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <numbers>
#include <thread>

namespace vastorim::platform {
namespace {

namespace fs = std::filesystem;

std::string tempPath(const std::string& name) {
    return (fs::temp_directory_path() / ("vastorim_audio_" + name)).string();
}

// A sine tone, 16-bit mono.
std::string writeTone(const std::string& name, int rate, double seconds, double hz) {
    std::vector<std::int16_t> samples(static_cast<std::size_t>(rate * seconds));
    for (std::size_t i = 0; i < samples.size(); ++i) {
        samples[i] = static_cast<std::int16_t>(
            12000 * std::sin(2 * std::numbers::pi * hz * static_cast<double>(i) / rate));
    }
    const std::string path = tempPath(name);
    test::writeWav16(path, rate, 1, samples);
    return path;
}

class HeadlessAudioTest : public ::testing::Test {
  protected:
    std::int64_t now = 1000;
    std::unique_ptr<AudioDevice> device = createHeadlessAudioDevice([this] { return now; });
};

TEST_F(HeadlessAudioTest, PositionFollowsRateAndBytesPerFrame) {
    const std::string path = tempPath("stereo.wav");
    test::writeWav16(path, 22050, 2, std::vector<std::int16_t>(2 * 22050 * 4));
    auto buffer = device->loadWav(path);
    EXPECT_EQ(buffer->bytesPerFrame(), 4u);
    EXPECT_EQ(buffer->sizeInBytes(), 4u * 22050 * 4);

    buffer->setRate(20000);
    buffer->play();
    now += 500;
    EXPECT_EQ(buffer->position(), 10000u * 4);
    buffer->setRate(40000); // a change of rate only affects the time after it
    now += 250;
    EXPECT_EQ(buffer->position(), 20000u * 4);

    buffer->stop();
    now += 1000;
    EXPECT_EQ(buffer->position(), 20000u * 4);
    EXPECT_FALSE(buffer->playing());

    buffer->setPosition(4003); // whole frames only
    EXPECT_EQ(buffer->position(), 4000u);
}

TEST_F(HeadlessAudioTest, PlayingToTheEndStopsThere) {
    const std::string path = tempPath("short.wav");
    test::writeWav16(path, 22050, 1, std::vector<std::int16_t>(1000));
    auto buffer = device->loadWav(path);
    buffer->setRate(10000);
    buffer->setPosition(1000);
    buffer->play();
    now += 40; // 400 frames would pass, 500 remain
    EXPECT_TRUE(buffer->playing());
    EXPECT_EQ(buffer->position(), 1800u);
    now += 1000;
    EXPECT_FALSE(buffer->playing());
    EXPECT_EQ(buffer->position(), 2000u);

    buffer->play(); // from the end there is nothing left to play
    EXPECT_FALSE(buffer->playing());
    buffer->setPosition(0);
    buffer->play();
    EXPECT_TRUE(buffer->playing());
}

// What the disk audio driver wrote: 16-bit stereo at 44100 Hz.
struct Recording {
    std::vector<std::int16_t> left;

    explicit Recording(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        std::int16_t frame[2];
        while (in.read(reinterpret_cast<char*>(frame), sizeof frame)) {
            left.push_back(frame[0]);
        }
    }

    // The loudest stretch, as root mean square, and the tone's pitch from its zero crossings.
    double rms() const {
        double sum = 0;
        for (std::int16_t s : left) {
            sum += static_cast<double>(s) * s;
        }
        return left.empty() ? 0 : std::sqrt(sum / static_cast<double>(left.size()));
    }
    double pitch() const {
        std::size_t first = 0, last = 0, crossings = 0;
        for (std::size_t i = 1; i < left.size(); ++i) {
            if (left[i - 1] < 0 && left[i] >= 0) {
                first = crossings == 0 ? i : first;
                last = i;
                ++crossings;
            }
        }
        return crossings < 2 ? 0 : (crossings - 1) * 44100.0 / static_cast<double>(last - first);
    }
};

// Plays a 441 Hz tone (at a volume in hundredths of a decibel) through SDL's disk driver for a
// while and returns what it wrote.
Recording recordTone(const std::string& name, int rate, int volume = 0) {
    const std::string output = tempPath(name + ".raw");
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", output.c_str(), 1);
    {
        auto device = createAudioDevice();
        auto buffer = device->loadWav(writeTone(name + ".wav", 22050, 2.0, 441));
        buffer->setRate(rate);
        buffer->setVolume(volume);
        buffer->play();
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        EXPECT_TRUE(buffer->playing());
        const std::uint32_t position = buffer->position();
        EXPECT_GT(position, 0u);
        EXPECT_LT(position, static_cast<std::uint32_t>(2 * rate * 0.6));
    }
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    return Recording(output);
}

TEST(RealAudio, TheTrackIsAudibleAtItsVolumeAndAHigherRatePlaysItFaster) {
    const Recording normal = recordTone("normal", 22050);
    ASSERT_GT(normal.left.size(), 4410u);
    EXPECT_GT(normal.rms(), 2000);
    EXPECT_NEAR(normal.pitch(), 441, 10);

    const Recording fast = recordTone("fast", 44100);
    EXPECT_NEAR(fast.pitch(), 882, 20);

    const Recording quiet = recordTone("quiet", 22050, -2000); // -20 dB: a tenth as loud
    EXPECT_NEAR(quiet.rms() / normal.rms(), 0.1, 0.03);
}

TEST(RealAudio, ABufferPlayedToItsEndReportsItsSize) {
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    auto device = createAudioDevice();
    auto buffer = device->loadWav(writeTone("end.wav", 22050, 0.1, 441));
    buffer->setRate(44100);
    buffer->play();
    std::this_thread::sleep_for(std::chrono::milliseconds(400));
    EXPECT_FALSE(buffer->playing());
    EXPECT_EQ(buffer->position(), buffer->sizeInBytes());
}

TEST(RealAudio, WithoutADeviceTheBufferKeepsTimeSilently) {
    setenv("SDL_AUDIODRIVER", "no_such_driver", 1);
    auto device = createAudioDevice();
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    auto buffer = device->loadWav(writeTone("silent.wav", 22050, 2.0, 441));
    buffer->setRate(10000);
    const auto start = std::chrono::steady_clock::now();
    buffer->play();
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    const std::uint32_t position = buffer->position();
    const double elapsed =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    EXPECT_NEAR(position, 10000 * 2 * elapsed, 10000 * 2 * 0.02);
}

} // namespace
} // namespace vastorim::platform
