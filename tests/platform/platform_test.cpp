// The platform's devices: the text rasteriser on the offscreen surface, the sound card through
// SDL's disk driver, and the key codes of window events.
#include "platform/audio.h"
#include "platform/events.h"
#include "platform/text.h"
#include "platform/video.h"
#include "platform/wav_file.h"
#include "support/test_support.h"
#include "tools/music/wav_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <numbers>
#include <string>
#include <thread>
#include <utility>

namespace vastorim::platform {
namespace {

// The lit pixels from row fromY down: their bounding box, brightest red, green and blue, and
// how many bands of lit rows (lines of text) they form.
struct Ink {
    int left = surfaceWidth, top = surfaceHeight, right = -1, bottom = -1, bands = 0;
    std::array<int, 3> peak{};

    explicit Ink(const std::vector<std::uint32_t>& pixels, int fromY = 0) {
        bool previousLit = false;
        for (int y = fromY; y < surfaceHeight; ++y) {
            bool lit = false;
            for (int x = 0; x < surfaceWidth; ++x) {
                const std::uint32_t p = pixels[static_cast<std::size_t>(y) * surfaceWidth + x];
                if ((p & 0xffffff) == 0) {
                    continue;
                }
                lit = true;
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
                for (std::size_t c = 0; c < 3; ++c) {
                    peak[c] = std::max(peak[c], static_cast<int>(p >> (16 - 8 * c) & 0xff));
                }
            }
            bands += lit && !previousLit ? 1 : 0;
            previousLit = lit;
        }
    }
    bool empty() const { return right < 0; }
    int height() const { return bottom - top + 1; }
};

constexpr TextBox screen{0, 0, 1024, 768};

class TextTest : public ::testing::Test {
  protected:
    void SetUp() override {
        video->open();
        // A face of the system stands in for a missing one.
        EXPECT_FALSE(text->setFace("/no/such/font.ttf"));
    }

    Ink drawn(std::string_view line, TextBox box = screen, TextAlign align = TextAlign::Left,
              std::uint32_t argb = 0xffffffff) {
        video->clear();
        text->drawText(line, box, align, argb);
        return Ink(video->readPixels());
    }

    std::unique_ptr<Video> video = createOffscreenVideo();
    std::unique_ptr<TextRenderer> text = createTextRenderer(*video);
};

TEST_F(TextTest, LinesSitAtTheTopAndAlignInTheBox) {
    const Ink left = drawn("Vastorim", {100, 100, 900, 300});
    EXPECT_NEAR(left.left, 103, 3);
    EXPECT_NEAR(left.top, 106, 6);
    const Ink centred = drawn("Vastorim", {0, 300, 1024, 400}, TextAlign::Centre);
    EXPECT_NEAR((centred.left + centred.right) / 2.0, 512, 4);
    EXPECT_EQ(centred.right - centred.left, left.right - left.left);
    const Ink right = drawn("Vastorim", {0, 500, 900, 600}, TextAlign::Right);
    EXPECT_NEAR(right.right, 895.5, 3.5);
}

TEST_F(TextTest, CarriageReturnLineFeedStartsANewLine) {
    const Ink one = drawn("HHH");
    const Ink three = drawn("H\r\nH\r\nH");
    EXPECT_EQ(three.bands, 3);
    EXPECT_LT(three.right - three.left, one.right - one.left);
    // Lines follow at the font's line spacing, a little more than its 32 pixels.
    EXPECT_NEAR(three.height() - one.height(), 2 * 37, 2 * 6);

    const Ink centred = drawn("HHHHHH\r\nH", screen, TextAlign::Centre);
    const Ink secondLine(video->readPixels(), centred.top + 30);
    EXPECT_NEAR((secondLine.left + secondLine.right) / 2.0, 512, 3);
}

TEST_F(TextTest, ColourAndAlphaAreHonouredAndTextIsClippedToItsBox) {
    EXPECT_EQ(drawn("H", screen, TextAlign::Left, 0xffff0000).peak, (std::array{255, 0, 0}));
    const Ink half = drawn("H", screen, TextAlign::Left, 0x80ffffff);
    EXPECT_NEAR(half.peak[0], 128, 3);
    EXPECT_TRUE(drawn("H", screen, TextAlign::Left, 0x00ffffff).empty());

    const Ink clipped = drawn("H\r\nH", {0, 0, 1024, 20});
    EXPECT_FALSE(clipped.empty());
    EXPECT_LT(clipped.bottom, 20);
    EXPECT_TRUE(drawn("H", {10, 10, 10, 100}).empty());
}

TEST_F(TextTest, RepeatedTextCostsNoNewRasterisingAndTheCachesStayBounded) {
    for (int frame = 0; frame < 100; ++frame) {
        text->setPointSize(36);
        text->drawText("Vastorim", {0, 0, 1024, 100}, TextAlign::Centre, 0xffffffff);
        text->setPointSize(24);
        text->drawText("Start Game\r\nHigh Scores", {0, 100, 1024, 300}, TextAlign::Centre,
                       0xffffffff);
    }
    TextCacheStats stats = text->stats();
    EXPECT_EQ(std::tuple(stats.rasterisedLines, stats.cachedLines, stats.openFonts),
              std::tuple(3u, 3u, 2u));

    for (int i = 0; i < 2000; ++i) {
        text->drawText("time " + std::to_string(i), screen, TextAlign::Left, 0xffffffff);
    }
    for (int points = 10; points < 40; ++points) {
        text->setPointSize(points);
        text->drawText("size", screen, TextAlign::Left, 0xffffffff);
    }
    stats = text->stats();
    EXPECT_EQ(stats.rasterisedLines, 3u + 2000u + 30u);
    EXPECT_LE(stats.cachedLines, 512u);
    EXPECT_LE(stats.openFonts, 8u);
}

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
    music::writeFile(folder.file("tone.wav"), music::encodeWav(tone, 22050));
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

// SDL key codes: printable keys are their characters, the others their scan code with bit 30 set.
constexpr int scanKey(int scancode) {
    return scancode | (1 << 30);
}

// SDL would allocate what a chunk claims before reading it: a short file claiming gigabytes is
// refused first, naming the chunk.
TEST(WavFiles, AChunkLongerThanTheFileIsRefusedBeforeItIsRead) {
    const test::TempFolder folder;
    std::vector<std::uint8_t> bytes = music::encodeWav(std::vector<std::int16_t>(100), 22050);
    music::writeFile(folder.file("short.wav"), bytes);
    EXPECT_EQ(readWav(folder.file("short.wav"), true).frameCount, 100u);
    const std::size_t dataLength = bytes.size() - 200 - 4; // the data chunk's size field
    std::fill_n(bytes.begin() + static_cast<std::ptrdiff_t>(dataLength), 4, std::uint8_t{0xe0});
    music::writeFile(folder.file("claims.wav"), bytes);
    try {
        readWav(folder.file("claims.wav"), true);
        ADD_FAILURE() << "accepted";
    } catch (const std::runtime_error& error) {
        EXPECT_STREQ(error.what(), "the chunk \"data\" claims 3772834016 bytes, more than the "
                                   "file's 244 bytes hold");
    }
}

TEST(VirtualKeyCodes, MapTheKeysTheGameUsesToWindowsCodes) {
    const std::pair<int, int> keys[] = {{'\r', 13}, {' ', 32},         {scanKey(80), 37},
                                        {'a', 65},  {scanKey(88), 13}, {scanKey(127), 0}};
    for (auto [sdlKey, windowsKey] : keys) {
        EXPECT_EQ(virtualKeyCode(sdlKey), windowsKey) << sdlKey;
    }
}

} // namespace
} // namespace vastorim::platform
