#include "engine/mod_dx8_render.h"
#include "engine/mod_font.h"
#include "engine/mod_vbp_start.h"
#include "engine/platform_access.h"
#include "platform/platform.h"
#include "platform/video.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace vastorim::test {
namespace {

class FontTest : public ::testing::Test {
  protected:
    void SetUp() override {
        platform.video->open();
        setCurrentPlatform(&platform);
        setCurrentVideo(platform.video.get());
        resetRenderState();
    }
    void TearDown() override {
        setCurrentVideo(nullptr);
        setCurrentPlatform(nullptr);
    }

    platform::Platform platform = platform::createHeadlessPlatform(16);
};

TEST_F(FontTest, CreatingTheGameFontNamesThePlayer) {
    globals.playerName = "someone";
    createGameFont();
    EXPECT_EQ(globals.playerName, "player");
}

TEST_F(FontTest, TextComesAfterTheSpritesQueuedBeforeIt) {
    // An opaque black picture over the whole surface, queued before the text.
    const TempFolder folder;
    writePicture(folder.file("black.png"), 16, 0xff000000);
    const platform::TextureId black = platform.video->loadTexture(folder.file("black.png"), 0, 0);
    const auto corner = [](float x, float y) {
        platform::Vertex vertex;
        vertex.x = x;
        vertex.y = y;
        vertex.u = x / 1024;
        vertex.v = y / 768;
        return vertex;
    };
    queueQuad(black, platform::BlendMode::Alpha,
              {corner(0, 0), corner(1024, 0), corner(0, 768), corner(1024, 768)});
    drawText("Vastorim", 0, 300, 1024, 400, 1, 0xffffffff);
    flushSprites();
    const auto pixels = platform.video->readPixels();
    EXPECT_TRUE(std::any_of(pixels.begin(), pixels.end(),
                            [](std::uint32_t pixel) { return (pixel & 0xffffff) != 0; }));
}

TEST(FontColours, PackingClampsEachPart) {
    EXPECT_EQ(packColour(128, 1, 2, 3), 0x80010203u);
    EXPECT_EQ(packColour(300, -5, 256, 127), 0xff00ff7fu);
}

} // namespace
} // namespace vastorim::test
