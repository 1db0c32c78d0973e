#include "engine/surface_fixture.h"

#include "engine/mod_dx8_render.h"
#include "engine/mod_res_textures.h"
#include "engine/mod_vbp_start.h"

#include <cmath>
#include <limits>
#include <numbers>

namespace vastorim::test {
namespace {

constexpr std::uint32_t red = 0xffff0000;
constexpr std::uint32_t green = 0xff00ff00;
constexpr std::uint32_t blue = 0xff0000ff;
constexpr std::uint32_t white = 0xffffffff;

class SpriteDrawing : public SurfaceTest {
  protected:
    void SetUp() override {
        SurfaceTest::SetUp();
        writeQuadrantPicture(folder.file("quadrants.png"), 64, red, green, blue, white);
        loadTexture(0, 0, folder.file("quadrants.png"));
        addTexture("white.png", white);
        addTexture("half.png", 0x80ffffff);
    }
};

TEST_F(SpriteDrawing, PictureTopPointsRightAndAnglesTurnClockwise) {
    std::vector<clsSprite> sprites{makeSprite("quadrants.png", 512, 384, 200, 200)};
    auto pixels = drawFrame(sprites);
    // Turned a quarter turn clockwise: the picture's top-left quadrant is on the right at the top.
    EXPECT_TRUE(hasColour(pixels, 562, 334, 255, 0, 0));
    EXPECT_TRUE(hasColour(pixels, 562, 434, 0, 255, 0));
    EXPECT_TRUE(hasColour(pixels, 462, 434, 255, 255, 255));
    EXPECT_TRUE(hasColour(pixels, 462, 334, 0, 0, 255));

    sprites[0].t = std::numbers::pi_v<float> / 2;
    pixels = drawFrame(sprites);
    EXPECT_TRUE(hasColour(pixels, 562, 434, 255, 0, 0));
    EXPECT_TRUE(hasColour(pixels, 462, 434, 0, 255, 0));
    EXPECT_TRUE(hasColour(pixels, 462, 334, 255, 255, 255));
    EXPECT_TRUE(hasColour(pixels, 562, 334, 0, 0, 255));
}

TEST_F(SpriteDrawing, SizeScalesAlongTheSpritesOwnAxesAndPositionIsTheCentre) {
    std::vector<clsSprite> sprites{makeSprite("white.png", 200, 100, 300, 60)};
    auto pixels = drawFrame(sprites);
    EXPECT_TRUE(hasColour(pixels, 200, 100, 255, 255, 255));
    EXPECT_TRUE(hasColour(pixels, 60, 100, 255, 255, 255));
    EXPECT_TRUE(hasColour(pixels, 340, 120, 255, 255, 255));
    EXPECT_TRUE(hasColour(pixels, 200, 140, 0, 0, 0));
    EXPECT_TRUE(hasColour(pixels, 370, 100, 0, 0, 0));

    sprites[0].t = std::numbers::pi_v<float> / 2; // now 60 wide and 300 tall
    pixels = drawFrame(sprites);
    EXPECT_TRUE(hasColour(pixels, 200, 230, 255, 255, 255));
    EXPECT_TRUE(hasColour(pixels, 300, 100, 0, 0, 0));
}

TEST_F(SpriteDrawing, TintMultipliesTheColourAndFadeScalesItWithinRange) {
    std::vector<clsSprite> sprites{
        makeSprite("white.png", 300, 300, 100, 100, 0, 0, 255, 128, 64),
        makeSprite("white.png", 500, 300, 100, 100, 0, 0, 400, 255, 0, 400)};
    globals.globalFade = 0.5f;
    sprites.push_back(makeSprite("white.png", 700, 300, 100, 100, 0, 0, 255, 128, 64));
    auto pixels = drawFrame(sprites);
    EXPECT_TRUE(hasColour(pixels, 300, 300, 255, 128, 64));
    EXPECT_TRUE(hasColour(pixels, 500, 300, 255, 255, 0)); // clamped, not wrapped
    EXPECT_TRUE(hasColour(pixels, 700, 300, 128, 64, 32));
}

TEST_F(SpriteDrawing, ZeroAlphaDarkensNormalSpritesAndHidesAdditiveOnes) {
    std::vector<clsSprite> sprites{
        makeSprite("white.png", 512, 384, 400, 400, 0, 0, 0, 0, 255),
        makeSprite("white.png", 412, 384, 100, 100, 0, 0, 255, 255, 255, 0),
        makeSprite("white.png", 612, 384, 100, 100, 0, 1, 255, 255, 255, 0),
    };
    clsSprite createdOnly;
    createdOnly.create(512, 484, 100, 100, 0, 0, "white.png");
    sprites.push_back(createdOnly);
    auto pixels = drawFrame(sprites);
    EXPECT_TRUE(hasColour(pixels, 412, 384, 0, 0, 0));
    EXPECT_TRUE(hasColour(pixels, 612, 384, 0, 0, 255));
    EXPECT_TRUE(hasColour(pixels, 512, 484, 0, 0, 0));
    EXPECT_TRUE(hasColour(pixels, 512, 300, 0, 0, 255));
}

TEST_F(SpriteDrawing, NormalBlendingMixesByTextureAlphaAndAdditiveAddsToWhatIsThere) {
    std::vector<clsSprite> sprites{
        makeSprite("white.png", 512, 384, 600, 400, 0, 0, 0, 0, 255),
        makeSprite("half.png", 362, 384, 100, 100, 0, 0, 255, 0, 0),
        makeSprite("half.png", 662, 384, 100, 100, 0, 1, 255, 0, 0),
        makeSprite("half.png", 512, 300, 100, 100, 0, 7, 255, 0, 0),
    };
    auto pixels = drawFrame(sprites);
    EXPECT_TRUE(hasColour(pixels, 362, 384, 128, 0, 127, 2));
    EXPECT_TRUE(hasColour(pixels, 662, 384, 128, 0, 255, 2));
    // Any blend type other than 1 blends normally.
    EXPECT_TRUE(hasColour(pixels, 512, 300, 128, 0, 127, 2));
}

TEST_F(SpriteDrawing, MirroredSpritesAreCulledAndDoublyMirroredOnesTurnHalfway) {
    std::vector<clsSprite> sprites{
        makeSprite("white.png", 200, 200, -100, 100),
        makeSprite("white.png", 400, 200, 100, -100),
        makeSprite("quadrants.png", 700, 400, -200, -200),
    };
    auto pixels = drawFrame(sprites);
    EXPECT_TRUE(hasColour(pixels, 200, 200, 0, 0, 0));
    EXPECT_TRUE(hasColour(pixels, 400, 200, 0, 0, 0));
    EXPECT_TRUE(hasColour(pixels, 750, 350, 255, 255, 255));
    EXPECT_TRUE(hasColour(pixels, 650, 450, 255, 0, 0));
}

TEST_F(SpriteDrawing, UnknownTexturesAndNonFiniteValuesDrawNothing) {
    constexpr float nan = std::numeric_limits<float>::quiet_NaN();
    constexpr float inf = std::numeric_limits<float>::infinity();
    std::vector<clsSprite> sprites{
        makeSprite("nothere.png", 100, 100, 100, 100),
        makeSprite("white.png", nan, 300, 100, 100),
        makeSprite("white.png", 300, 300, inf, 100),
        makeSprite("white.png", 500, 300, 100, 100, nan),
        makeSprite("white.png", 700, 300, 100, 100, 0, 0, nan, 255, 255),
        makeSprite("white.png", 900, 300, 1e30f, 1e30f),
        makeSprite("white.png", 512, 600, 100, 100),
    };
    sprites[1].Y = 300;
    auto pixels = drawFrame(sprites);
    EXPECT_TRUE(hasColour(pixels, 100, 100, 0, 0, 0));
    for (int x : {300, 500, 700, 900}) {
        EXPECT_TRUE(hasColour(pixels, x, 300, 0, 0, 0));
    }
    EXPECT_TRUE(hasColour(pixels, 512, 600, 255, 255, 255));
    EXPECT_EQ(drawCallsLastFrame(), 1);
}

TEST_F(SpriteDrawing, SpriteFindsTextureLoadedAfterItsFirstRender) {
    std::vector<clsSprite> sprites{makeSprite("late.png", 512, 384, 100, 100)};
    auto pixels = drawFrame(sprites);
    EXPECT_TRUE(hasColour(pixels, 512, 384, 0, 0, 0));
    addTexture("late.png", green);
    pixels = drawFrame(sprites);
    EXPECT_TRUE(hasColour(pixels, 512, 384, 0, 255, 0));
}

TEST_F(SpriteDrawing, OneCallPerRunOfEqualTextureAndBlendInDrawingOrder) {
    std::vector<clsSprite> sprites;
    for (int i = 0; i < 50; ++i) {
        sprites.push_back(makeSprite("white.png", 100.0f + i * 10, 384, 40, 40, 0, 0, 255, 0, 0));
    }
    sprites.push_back(makeSprite("missing.png", 512, 384, 40, 40));
    sprites.push_back(makeSprite("white.png", 590, 384, 40, 40, 0, 0, 0, 255, 0));
    auto pixels = drawFrame(sprites);
    EXPECT_EQ(drawCallsLastFrame(), 1);
    // Within one call the later sprite covers the earlier ones.
    EXPECT_TRUE(hasColour(pixels, 590, 384, 0, 255, 0));
    EXPECT_TRUE(hasColour(pixels, 560, 384, 255, 0, 0));
}

TEST_F(SpriteDrawing, AlternatingTextureOrBlendStartsNewCallsAndKeepsOrder) {
    std::vector<clsSprite> sprites;
    for (int i = 0; i < 4; ++i) {
        sprites.push_back(
            makeSprite(i % 2 == 0 ? "white.png" : "quadrants.png", 500.0f + i * 10, 384, 100, 100));
    }
    auto pixels = drawFrame(sprites);
    EXPECT_EQ(drawCallsLastFrame(), 4);
    // The last sprite drawn, the quadrant picture centred at 530, shows red at its upper right.
    EXPECT_TRUE(hasColour(pixels, 575, 360, 255, 0, 0));

    std::vector<clsSprite> blends;
    for (int i = 0; i < 6; ++i) {
        blends.push_back(
            makeSprite("white.png", 300, 300, 50, 50, 0, static_cast<std::int16_t>(i % 2)));
    }
    drawFrame(blends);
    EXPECT_EQ(drawCallsLastFrame(), 6);

    std::vector<clsSprite> none;
    drawFrame(none);
    EXPECT_EQ(drawCallsLastFrame(), 0);
}

TEST_F(SpriteDrawing, FrameIsClearedAndParticlesDrawOnTopOfTheMode) {
    std::vector<clsSprite> first{makeSprite("white.png", 512, 384, 100, 100)};
    drawFrame(first);
    clsSprite particle = makeSprite("white.png", 512, 384, 50, 50, 0, 0, 0, 255, 0);
    hooks.drawParticles = [&particle] { particle.render(); };
    std::vector<clsSprite> mode{makeSprite("white.png", 300, 300, 50, 50, 0, 0, 255, 0, 0),
                                makeSprite("white.png", 512, 384, 80, 80, 0, 0, 0, 0, 255)};
    globals.gameMode = 1;
    auto pixels = drawFrame(mode);
    EXPECT_TRUE(hasColour(pixels, 512, 384, 0, 255, 0));
    EXPECT_TRUE(hasColour(pixels, 545, 384, 0, 0, 255));
    EXPECT_TRUE(hasColour(pixels, 300, 300, 255, 0, 0));
    // Other modes draw only the particles.
    globals.gameMode = 2;
    pixels = drawFrame(mode);
    EXPECT_TRUE(hasColour(pixels, 300, 300, 0, 0, 0));
    EXPECT_TRUE(hasColour(pixels, 512, 384, 0, 255, 0));
    EXPECT_TRUE(hasColour(pixels, 545, 384, 0, 0, 0));
}

} // namespace
} // namespace vastorim::test
