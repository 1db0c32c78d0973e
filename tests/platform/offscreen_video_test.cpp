#include "platform/platform_error.h"
#include "platform/video.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdlib>

namespace vastorim::platform {
namespace {

using test::rgbAt;

// A square from (left, top) to (right, bottom) showing the whole texture upright, tinted.
void drawSquare(Video& video, TextureId texture, BlendMode blend, float left, float top,
                float right, float bottom, std::uint32_t rgb = 0xffffff) {
    const auto r = static_cast<std::uint8_t>(rgb >> 16);
    const auto g = static_cast<std::uint8_t>(rgb >> 8);
    const auto b = static_cast<std::uint8_t>(rgb);
    std::array<Vertex, 4> corners{{{left, top, r, g, b, 255, 0, 0},
                                   {right, top, r, g, b, 255, 1, 0},
                                   {left, bottom, r, g, b, 255, 0, 1},
                                   {right, bottom, r, g, b, 255, 1, 1}}};
    std::array<int, 6> indices{0, 1, 2, 1, 3, 2};
    video.drawTriangles(texture, blend, corners, indices);
}

class OffscreenVideo : public ::testing::Test {
  protected:
    void SetUp() override { video->open(); }

    TextureId quadrants(int size, int width = 0, int height = 0) {
        test::writeQuadrantPicture(folder.file("q.png"), size, 0xffff0000, 0xff00ff00, 0xff0000ff,
                                   0xffffffff);
        return video->loadTexture(folder.file("q.png"), width, height);
    }

    test::TempFolder folder;
    std::unique_ptr<Video> video = createOffscreenVideo();
};

TEST_F(OffscreenVideo, ResamplesToAGivenSize) {
    TextureId resized = quadrants(8, 32, 16);
    video->clear();
    drawSquare(*video, resized, BlendMode::Alpha, 0, 0, 200, 200);
    auto pixels = video->readPixels();
    EXPECT_EQ(rgbAt(pixels, 50, 50), 0xff0000u);
    EXPECT_EQ(rgbAt(pixels, 150, 150), 0xffffffu);
}

TEST_F(OffscreenVideo, BadPicturesAndUnknownTexturesFailCleanly) {
    EXPECT_THROW(video->loadTexture(folder.file("absent.png"), 0, 0), PlatformError);
    EXPECT_THROW(video->loadTexture(folder.write("bad.png", "\x89PNG not really"), 0, 0),
                 PlatformError);
    video->clear();
    drawSquare(*video, 7, BlendMode::Alpha, 0, 0, 100, 100);
    drawSquare(*video, -1, BlendMode::Alpha, 0, 0, 100, 100);
    EXPECT_EQ(rgbAt(video->readPixels(), 50, 50), 0u);
}

TEST_F(OffscreenVideo, ScreenshotIsA1024By768Png) {
    video->clear();
    video->saveScreenshot(folder.file("shot.png"));
    test::PictureSize size = test::pngSize(folder.file("shot.png"));
    EXPECT_EQ(size.width, 1024);
    EXPECT_EQ(size.height, 768);
    EXPECT_THROW(video->saveScreenshot(folder.file("no/folder/shot.png")), PlatformError);
}

// The software rasteriser's arithmetic overflows on huge triangles unless they are cut into
// pieces; the pieces must show the picture as one square would.
TEST_F(OffscreenVideo, HugeSquaresOnLargeTexturesDrawWhole) {
    TextureId big = quadrants(1024);
    for (float extent : {300.0f, 3000.0f, 3.0e4f, 3.0e5f, 1.0e7f}) {
        for (BlendMode blend : {BlendMode::Alpha, BlendMode::Additive}) {
            video->clear();
            drawSquare(*video, big, blend, 512 - extent / 2, 384 - extent / 2, 512 + extent / 2,
                       384 + extent / 2);
            auto pixels = video->readPixels();
            EXPECT_EQ(rgbAt(pixels, 400, 300), 0xff0000u) << extent;
            EXPECT_EQ(rgbAt(pixels, 600, 300), 0x00ff00u) << extent;
            EXPECT_EQ(rgbAt(pixels, 400, 500), 0x0000ffu) << extent;
            EXPECT_EQ(rgbAt(pixels, 600, 500), 0xffffffu) << extent;
        }
    }
}

TEST(OffscreenVideoLifetime, DrawingNeedsAnOpenVideoAndCloseReleasesIt) {
    auto video = createOffscreenVideo();
    EXPECT_THROW(video->clear(), PlatformError);
    video->open();
    video->open();
    video->clear();
    video->close();
    EXPECT_THROW(video->readPixels(), PlatformError);
    video->open();
    EXPECT_NO_THROW(video->readPixels());
}

// The window path draws into its own 1024 x 768 surface and copies it into the window on present;
// SDL's dummy driver stands in for a display.
TEST(WindowVideo, KeepsItsSurfaceAcrossPresentAndFullScreen) {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    test::TempFolder folder;
    test::writePicture(folder.file("white.png"), 4, 0xffffffff);
    auto video = createWindowVideo(false);
    video->open();
    video->show();
    TextureId white = video->loadTexture(folder.file("white.png"), 0, 0);
    video->clear();
    drawSquare(*video, white, BlendMode::Alpha, 1000, 700, 1024, 768, 0x0000ff);
    video->present();
    video->setFullScreen(true);
    auto pixels = video->readPixels();
    EXPECT_EQ(rgbAt(pixels, 1010, 750), 0x0000ffu);
    EXPECT_EQ(rgbAt(pixels, 990, 750), 0u);
    video->close();
    EXPECT_THROW(video->readPixels(), PlatformError);
}

} // namespace
} // namespace vastorim::platform
