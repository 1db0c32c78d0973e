#include "platform/text.h"
#include "platform/video.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <string>

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
    EXPECT_NEAR(half.peak[2], 128, 3);
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
    EXPECT_EQ(stats.rasterisedLines, 3u);
    EXPECT_EQ(stats.cachedLines, 3u);
    EXPECT_EQ(stats.openFonts, 2u);

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

} // namespace
} // namespace vastorim::platform
