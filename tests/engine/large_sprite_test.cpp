#include "engine/surface_fixture.h"

#include "engine/mod_res_textures.h"

namespace vastorim::test {
namespace {

constexpr std::uint32_t red = 0xffff0000;
constexpr std::uint32_t green = 0xff00ff00;
constexpr std::uint32_t blue = 0xff0000ff;
constexpr std::uint32_t white = 0xffffffff;

// Big pictures drawn big overflow the software rasteriser's arithmetic unless the quads are cut
// into pieces; the pieces must still show the picture as one quad would.
TEST_F(SurfaceTest, LargePicturesDrawnLargeShowWholeAndRightWayRound) {
    writeQuadrantPicture(folder.file("big.png"), 1024, red, green, blue, white);
    loadTexture(0, 0, folder.file("big.png"));
    for (float size : {1000.0f, 2000.0f, 100000.0f}) {
        std::vector<clsSprite> sprites{makeSprite("big.png", 512, 384, size, size)};
        auto pixels = drawFrame(sprites);
        EXPECT_TRUE(hasColour(pixels, 700, 200, 255, 0, 0)) << size;
        EXPECT_TRUE(hasColour(pixels, 700, 600, 0, 255, 0)) << size;
        EXPECT_TRUE(hasColour(pixels, 300, 600, 255, 255, 255)) << size;
        EXPECT_TRUE(hasColour(pixels, 300, 200, 0, 0, 255)) << size;
    }
}

TEST_F(SurfaceTest, LargeRotatedQuadsLeaveNoGapsBetweenPieces) {
    addTexture("white.png", white);
    writeQuadrantPicture(folder.file("bigwhite.png"), 1024, white, white, white, white);
    loadTexture(0, 0, folder.file("bigwhite.png"));
    std::vector<clsSprite> sprites{makeSprite("bigwhite.png", 512, 384, 1400, 1400, 0.7f)};
    auto pixels = drawFrame(sprites);
    for (int y = 0; y < 768; y += 7) {
        for (int x = 0; x < 1024; x += 7) {
            ASSERT_TRUE(hasColour(pixels, x, y, 255, 255, 255)) << x << "," << y;
        }
    }
}

} // namespace
} // namespace vastorim::test
