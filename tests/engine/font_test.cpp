#include "engine/mod_dx8_render.h"
#include "engine/mod_font.h"
#include "engine/mod_vbp_start.h"
#include "engine/platform_access.h"
#include "platform/platform.h"
#include "platform/text.h"
#include "platform/video.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

namespace vastorim {
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

    bool anyInk() {
        for (std::uint32_t pixel : platform.video->readPixels()) {
            if ((pixel & 0xffffff) != 0) {
                return true;
            }
        }
        return false;
    }

    platform::Platform platform = platform::createHeadlessPlatform(16);
};

TEST_F(FontTest, CreatingTheGameFontNamesThePlayer) {
    globals.playerName = "someone";
    createGameFont();
    EXPECT_EQ(globals.playerName, "player");
}

TEST_F(FontTest, TextComesAfterTheSpritesQueuedBeforeIt) {
    // An opaque black picture over the whole surface, queued before the text: the text must end
    // up on top of it, not under it.
    const test::TempFolder folder;
    const std::string picture = folder.file("black.png");
    test::writePicture(picture, 16, 0xff000000);
    const platform::TextureId black = platform.video->loadTexture(picture, 0, 0);
    const auto corner = [](float x, float y, float u, float v) {
        platform::Vertex vertex;
        vertex.x = x;
        vertex.y = y;
        vertex.u = u;
        vertex.v = v;
        return vertex;
    };
    queueQuad(
        black, platform::BlendMode::Alpha,
        {corner(0, 0, 0, 0), corner(1024, 0, 1, 0), corner(0, 768, 0, 1), corner(1024, 768, 1, 1)});
    drawText("Vastorim", 0, 300, 1024, 400, 1, 0xffffffff);
    flushSprites();
    EXPECT_TRUE(anyInk());
}

TEST(FontColours, PackingClampsEachPart) {
    EXPECT_EQ(packColour(255, 255, 255, 255), 0xffffffffu);
    EXPECT_EQ(packColour(128, 1, 2, 3), 0x80010203u);
    EXPECT_EQ(packColour(300, -5, 256, 127), 0xff00ff7fu);
}

} // namespace
} // namespace vastorim
