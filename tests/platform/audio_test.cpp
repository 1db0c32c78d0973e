#include "platform/audio.h"
#include "support/test_support.h"
#include "support/test_wav.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <numbers>
#include <thread>

namespace vastorim::platform {
namespace {

struct Recording {
    double rms = 0;
    double pitch = 0;
};

// Plays two seconds of a 441 Hz sine tone (16-bit mono, 22050 Hz) through SDL's disk driver for
// a while; reads back the left channel of what it wrote (16-bit stereo at 44100 Hz): loudness,
// and the pitch from rising zero crossings.
Recording recordTone(int rate, int volume) {
    const test::TempFolder folder;
    std::vector<std::int16_t> tone(2 * 22050);
    for (std::size_t i = 0; i < tone.size(); ++i) {
        tone[i] = static_cast<std::int16_t>(
            12000 * std::sin(2 * std::numbers::pi * 441 * static_cast<double>(i) / 22050));
    }
    test::writeWav16(folder.file("tone.wav"), 22050, 1, tone);
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", folder.file("out.raw").c_str(), 1);
    {
        auto device = createAudioDevice();
        auto buffer = device->loadWav(folder.file("tone.wav"));
        buffer->setRate(rate);
        buffer->setVolume(volume);
        buffer->play();
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        EXPECT_TRUE(buffer->playing());
        EXPECT_GT(buffer->position(), 0u);
        EXPECT_LT(buffer->position(), static_cast<std::uint32_t>(2 * rate * 0.6));
    }
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    std::ifstream in(folder.file("out.raw"), std::ios::binary);
    std::vector<std::int16_t> left;
    for (std::int16_t frame[2]; in.read(reinterpret_cast<char*>(frame), sizeof frame);) {
        left.push_back(frame[0]);
    }
    EXPECT_GT(left.size(), 4410u);
    double sum = 0;
    std::size_t first = 0, last = 0, crossings = 0;
    for (std::size_t i = 0; i < left.size(); ++i) {
        sum += static_cast<double>(left[i]) * left[i];
        if (i > 0 && left[i - 1] < 0 && left[i] >= 0) {
            first = crossings++ == 0 ? i : first;
            last = i;
        }
    }
    return {left.empty() ? 0 : std::sqrt(sum / static_cast<double>(left.size())),
            crossings < 2 ? 0 : (crossings - 1) * 44100.0 / static_cast<double>(last - first)};
}

TEST(RealAudio, TheTrackIsAudibleAtItsVolumeAndAHigherRatePlaysItFaster) {
    const Recording normal = recordTone(22050, 0);
    EXPECT_GT(normal.rms, 2000);
    EXPECT_NEAR(normal.pitch, 441, 10);
    EXPECT_NEAR(recordTone(44100, 0).pitch, 882, 20);
    // -20 dB: a tenth as loud.
    EXPECT_NEAR(recordTone(22050, -2000).rms / normal.rms, 0.1, 0.03);
}

} // namespace
} // namespace vastorim::platform
