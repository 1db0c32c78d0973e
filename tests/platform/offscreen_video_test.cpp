#include "platform/platform_error.h"
#include "platform/video.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdlib>

namespace vastorim::platform {
namespace {

using test::TempFolder;

std::uint32_t pixelAt(const std::vector<std::uint32_t>& pixels, int x, int y) {
    return pixels.at(static_cast<std::size_t>(y) * surfaceWidth + x) & 0xffffff;
}

// A square from (left, top) to (right, bottom) showing the whole texture upright.
void drawSquare(Video& video, TextureId texture, BlendMode blend, float left, float top,
                float right, float bottom, std::uint8_t r = 255, std::uint8_t g = 255,
                std::uint8_t b = 255) {
    std::array<Vertex, 4> corners{{
        {left, top, r, g, b, 255, 0, 0},
        {right, top, r, g, b, 255, 1, 0},
        {left, bottom, r, g, b, 255, 0, 1},
        {right, bottom, r, g, b, 255, 1, 1},
    }};
    std::array<int, 6> indices{0, 1, 2, 1, 3, 2};
    video.drawTriangles(texture, blend, corners, indices);
}

class OffscreenVideo : public ::testing::Test {
  protected:
    void SetUp() override { video->open(); }

    TextureId picture(const std::string& name, int size, std::uint32_t argb, int width = 0,
                      int height = 0) {
        test::writePicture(folder.file(name), size, argb);
        return video->loadTexture(folder.file(name), width, height);
    }

    TempFolder folder;
    std::unique_ptr<Video> video = createOffscreenVideo();
};

TEST_F(OffscreenVideo, ResamplesToAGivenSize) {
    test::writeQuadrantPicture(folder.file("q.png"), 8, 0xffff0000, 0xff00ff00, 0xff0000ff,
                               0xffffffff);
    TextureId resized = video->loadTexture(folder.file("q.png"), 32, 16);
    video->clear();
    drawSquare(*video, resized, BlendMode::Alpha, 0, 0, 200, 200);
    auto pixels = video->readPixels();
    EXPECT_EQ(pixelAt(pixels, 50, 50), 0xff0000u);
    EXPECT_EQ(pixelAt(pixels, 150, 150), 0xffffffu);
}

TEST_F(OffscreenVideo, BadPicturesAndUnknownTexturesFailCleanly) {
    EXPECT_THROW(video->loadTexture(folder.file("absent.png"), 0, 0), PlatformError);
    test::writeFile(folder.file("bad.png"), "\x89PNG not really");
    EXPECT_THROW(video->loadTexture(folder.file("bad.png"), 0, 0), PlatformError);
    video->clear();
    drawSquare(*video, 7, BlendMode::Alpha, 0, 0, 100, 100);
    drawSquare(*video, -1, BlendMode::Alpha, 0, 0, 100, 100);
    EXPECT_EQ(pixelAt(video->readPixels(), 50, 50), 0u);
}

TEST_F(OffscreenVideo, ScreenshotIsA1024By768Png) {
    TextureId white = picture("white.png", 4, 0xffffffff);
    video->clear();
    drawSquare(*video, white, BlendMode::Alpha, 0, 0, 512, 384, 0, 255, 0);
    video->saveScreenshot(folder.file("shot.png"));
    test::PictureSize size = test::pngSize(folder.file("shot.png"));
    EXPECT_EQ(size.width, 1024);
    EXPECT_EQ(size.height, 768);

    EXPECT_THROW(video->saveScreenshot(folder.file("no/folder/shot.png")), PlatformError);
}

TEST_F(OffscreenVideo, LargeTrianglesOnLargeTexturesDrawWhole) {
    test::writeQuadrantPicture(folder.file("big.png"), 1024, 0xffff0000, 0xff00ff00, 0xff0000ff,
                               0xffffffff);
    TextureId big = video->loadTexture(folder.file("big.png"), 0, 0);
    TextureId small = picture("small.png", 2, 0xff808080);
    video->clear();
    for (float extent : {300.0f, 3000.0f, 3.0e4f, 3.0e5f, 1.0e7f}) {
        for (float offset : {-1.0f, -0.5f, 0.0f, 0.25f}) {
            float left = 512 + offset * extent;
            float top = 384 + offset * extent;
            drawSquare(*video, small, BlendMode::Alpha, left, top, left + extent, top + extent);
            drawSquare(*video, big, BlendMode::Additive, left, top, left + extent, top + extent);
        }
    }
    drawSquare(*video, big, BlendMode::Alpha, -1000, -800, 2024, 1568);
    auto pixels = video->readPixels();
    EXPECT_EQ(pixelAt(pixels, 400, 300), 0xff0000u);
    EXPECT_EQ(pixelAt(pixels, 600, 300), 0x00ff00u);
    EXPECT_EQ(pixelAt(pixels, 400, 500), 0x0000ffu);
    EXPECT_EQ(pixelAt(pixels, 600, 500), 0xffffffu);
}

TEST(OffscreenVideoLifetime, DrawingNeedsAnOpenVideoAndCloseReleasesIt) {
    auto video = createOffscreenVideo();
    EXPECT_THROW(video->clear(), PlatformError);
    EXPECT_THROW(video->readPixels(), PlatformError);
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
    TempFolder folder;
    test::writePicture(folder.file("white.png"), 4, 0xffffffff);
    auto video = createWindowVideo(false);
    video->open();
    video->show();
    TextureId white = video->loadTexture(folder.file("white.png"), 0, 0);
    video->clear();
    drawSquare(*video, white, BlendMode::Alpha, 1000, 700, 1024, 768, 0, 0, 255);
    video->present();
    video->setFullScreen(true);
    auto pixels = video->readPixels();
    EXPECT_EQ(pixelAt(pixels, 1010, 750), 0x0000ffu);
    EXPECT_EQ(pixelAt(pixels, 990, 750), 0u);
    video->close();
    EXPECT_THROW(video->readPixels(), PlatformError);
}

} // namespace
} // namespace vastorim::platform
