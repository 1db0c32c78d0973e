#include "platform/text.h"
#include "platform/video.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace vastorim::platform {
namespace {

// The lit pixels of the surface: their bounding box and the brightest channel values.
struct Ink {
    int left = surfaceWidth, top = surfaceHeight, right = -1, bottom = -1;
    int maxRed = 0, maxGreen = 0, maxBlue = 0;
    std::vector<int> litRows;

    Ink(const std::vector<std::uint32_t>& pixels, int fromY = 0, int toY = surfaceHeight) {
        for (int y = fromY; y < toY; ++y) {
            bool rowLit = false;
            for (int x = 0; x < surfaceWidth; ++x) {
                const std::uint32_t p = pixels[static_cast<std::size_t>(y) * surfaceWidth + x];
                const int r = (p >> 16) & 0xff, g = (p >> 8) & 0xff, b = p & 0xff;
                if (r + g + b == 0) {
                    continue;
                }
                rowLit = true;
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
                maxRed = std::max(maxRed, r);
                maxGreen = std::max(maxGreen, g);
                maxBlue = std::max(maxBlue, b);
            }
            if (rowLit) {
                litRows.push_back(y);
            }
        }
    }
    bool empty() const { return right < 0; }
    // Runs of consecutive lit rows: one per line of text.
    int bands() const {
        int count = 0;
        for (std::size_t i = 0; i < litRows.size(); ++i) {
            count += i == 0 || litRows[i] != litRows[i - 1] + 1 ? 1 : 0;
        }
        return count;
    }
};

class TextTest : public ::testing::Test {
  protected:
    void SetUp() override {
        video->open();
        video->clear();
        text->setFace("/no/such/font.ttf"); // a face of the system stands in
    }

    Ink drawn(std::string_view line, TextBox box, TextAlign align, std::uint32_t argb) {
        video->clear();
        text->drawText(line, box, align, argb);
        return Ink(video->readPixels());
    }

    std::unique_ptr<Video> video = createOffscreenVideo();
    std::unique_ptr<TextRenderer> text = createTextRenderer(*video);
};

TEST_F(TextTest, AMissingFaceIsReplacedByASystemFace) {
    EXPECT_FALSE(text->setFace("/no/such/font.ttf"));
    const Ink ink = drawn("Vastorim", {100, 100, 900, 200}, TextAlign::Left, 0xffffffff);
    EXPECT_FALSE(ink.empty());
}

TEST_F(TextTest, LinesSitAtTheTopAndAlignInTheBox) {
    const Ink left = drawn("Vastorim", {100, 100, 900, 300}, TextAlign::Left, 0xffffffff);
    EXPECT_GE(left.left, 100);
    EXPECT_LE(left.left, 106);
    EXPECT_GE(left.top, 100);
    EXPECT_LE(left.top, 112);

    const Ink centred = drawn("Vastorim", {0, 300, 1024, 400}, TextAlign::Centre, 0xffffffff);
    EXPECT_NEAR((centred.left + centred.right) / 2.0, 512, 4);
    EXPECT_EQ(centred.right - centred.left, left.right - left.left);

    const Ink right = drawn("Vastorim", {0, 500, 900, 600}, TextAlign::Right, 0xffffffff);
    EXPECT_LE(right.right, 899);
    EXPECT_GE(right.right, 892);
}

TEST_F(TextTest, PointsAreThoseOfANinetySixDpiScreen) {
    // A capital H is about seven tenths of the em: 23 pixels at 24 points (32 pixels).
    text->setPointSize(24);
    const Ink small = drawn("H", {0, 0, 1024, 768}, TextAlign::Left, 0xffffffff);
    EXPECT_NEAR(small.bottom - small.top + 1, 23, 3);
    text->setPointSize(36);
    const Ink large = drawn("H", {0, 0, 1024, 768}, TextAlign::Left, 0xffffffff);
    EXPECT_NEAR((large.bottom - large.top + 1) / static_cast<double>(small.bottom - small.top + 1),
                1.5, 0.1);
}

TEST_F(TextTest, CarriageReturnLineFeedStartsANewLine) {
    const Ink one = drawn("HHH", {0, 0, 1024, 768}, TextAlign::Left, 0xffffffff);
    const Ink three = drawn("H\r\nH\r\nH", {0, 0, 1024, 768}, TextAlign::Left, 0xffffffff);
    EXPECT_EQ(three.bands(), 3);
    EXPECT_LT(three.right - three.left, one.right - one.left);
    // Lines follow at the font's line spacing, a little more than its 32 pixels.
    EXPECT_NEAR(three.bottom - three.top - (one.bottom - one.top), 2 * 37, 2 * 6);

    const Ink centred = drawn("HHHHHH\r\nH", {0, 0, 1024, 768}, TextAlign::Centre, 0xffffffff);
    const Ink secondLine(video->readPixels(), centred.top + 30, 768);
    EXPECT_NEAR((secondLine.left + secondLine.right) / 2.0, 512, 3);
}

TEST_F(TextTest, ColourAndAlphaAreHonoured) {
    const Ink opaque = drawn("H", {0, 0, 1024, 768}, TextAlign::Left, 0xffff0000);
    EXPECT_EQ(opaque.maxRed, 255);
    EXPECT_EQ(opaque.maxGreen, 0);
    EXPECT_EQ(opaque.maxBlue, 0);

    const Ink half = drawn("H", {0, 0, 1024, 768}, TextAlign::Left, 0x80ffffff);
    EXPECT_NEAR(half.maxRed, 128, 3);
    EXPECT_NEAR(half.maxBlue, 128, 3);

    EXPECT_TRUE(drawn("H", {0, 0, 1024, 768}, TextAlign::Left, 0x00ffffff).empty());
}

TEST_F(TextTest, TextIsClippedToItsBox) {
    const Ink clipped = drawn("H\r\nH", {0, 0, 1024, 20}, TextAlign::Left, 0xffffffff);
    EXPECT_FALSE(clipped.empty());
    EXPECT_LT(clipped.bottom, 20);
    EXPECT_TRUE(drawn("H", {10, 10, 10, 100}, TextAlign::Left, 0xffffffff).empty());
}

TEST_F(TextTest, RepeatedTextAndSizeSwitchesCostNoNewRasterising) {
    for (int frame = 0; frame < 100; ++frame) {
        text->setPointSize(36);
        text->drawText("Vastorim", {0, 0, 1024, 100}, TextAlign::Centre, 0xffffffff);
        text->setPointSize(24);
        text->drawText("Start Game\r\nHigh Scores", {0, 100, 1024, 300}, TextAlign::Centre,
                       0xffffffff);
    }
    const TextCacheStats stats = text->stats();
    EXPECT_EQ(stats.rasterisedLines, 3u);
    EXPECT_EQ(stats.cachedLines, 3u);
    EXPECT_EQ(stats.openFonts, 2u);
}

TEST_F(TextTest, TheCachesStayBounded) {
    for (int i = 0; i < 2000; ++i) {
        text->drawText("time " + std::to_string(i), {0, 0, 1024, 100}, TextAlign::Left, 0xffffffff);
    }
    for (int points = 10; points < 40; ++points) {
        text->setPointSize(points);
        text->drawText("size", {0, 0, 1024, 100}, TextAlign::Left, 0xffffffff);
    }
    const TextCacheStats stats = text->stats();
    EXPECT_EQ(stats.rasterisedLines, 2000u + 30u);
    EXPECT_LE(stats.cachedLines, 512u);
    EXPECT_LE(stats.openFonts, 8u);
}

} // namespace
} // namespace vastorim::platform
