#include "engine/surface_fixture.h"

#include "engine/renderer.h"
#include "engine/startup.h"
#include "engine/textures.h"

#include <limits>
#include <numbers>

namespace vastorim::test {
namespace {

class SpriteDrawing : public SurfaceTest {
  protected:
    void SetUp() override {
        SurfaceTest::SetUp();
        writeQuadrantPicture(folder.file("quadrants.png"), 64, 0xffff0000, 0xff00ff00, 0xff0000ff,
                             0xffffffff);
        loadTexture(0, 0, folder.file("quadrants.png"));
        addTexture("white.png", 0xffffffff);
        addTexture("half.png", 0x80ffffff);
    }
};

TEST_F(SpriteDrawing, PictureTopPointsRightAndSizeAndAngleApplyOnTheSpritesOwnAxes) {
    constexpr float quarter = std::numbers::pi_v<float> / 2;
    // The quadrant picture (red, green / blue, white) at (512, 384): the colours at its top
    // right, bottom right, bottom left and top left. Mirrored on both axes it is turned halfway.
    struct Case {
        float size, angle;
        std::uint32_t tr, br, bl, tl;
    };
    const Case cases[] = {{200, 0, 0xff0000, 0x00ff00, 0xffffff, 0x0000ff},
                          {200, quarter, 0x0000ff, 0xff0000, 0x00ff00, 0xffffff},
                          {-200, 0, 0xffffff, 0x0000ff, 0xff0000, 0x00ff00}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.size << " at " << c.angle);
        expectPixels(drawFrame(makeSprite("quadrants.png", 512, 384, c.size, c.size, c.angle)),
                     {{562, 334, c.tr}, {562, 434, c.br}, {462, 434, c.bl}, {462, 334, c.tl}});
    }
    expectPixels(drawFrame(makeSprite("quadrants.png", 512, 384, 300, 60)),
                 {{652, 374, 0xff0000}, {372, 394, 0xffffff}, {512, 424, 0}, {672, 384, 0}});
    expectPixels(drawFrame(makeSprite("quadrants.png", 512, 384, 300, 60, quarter)),
                 {{522, 514, 0xff0000}, {502, 254, 0xffffff}, {612, 384, 0}, {512, 544, 0}});
}

TEST_F(SpriteDrawing, TintFadeAlphaAndBothBlendModes) {
    std::vector<Sprite> sprites{makeSprite("white.png", 512, 384, 1024, 768, 0, 0, 0, 0, 255),
                                makeSprite("white.png", 100, 200, 80, 80, 0, 0, 255, 128, 64),
                                makeSprite("white.png", 250, 200, 80, 80, 0, 0, 400, 255, 0, 400),
                                makeSprite("white.png", 550, 200, 80, 80, 0, 0, 255, 255, 255, 0),
                                makeSprite("white.png", 700, 200, 80, 80, 0, 1, 255, 255, 255, 0),
                                makeSprite("half.png", 100, 500, 80, 80, 0, 0, 255, 0, 0),
                                makeSprite("half.png", 250, 500, 80, 80, 0, 1, 255, 0, 0),
                                makeSprite("half.png", 400, 500, 80, 80, 0, 7, 255, 0, 0)};
    Sprite untinted;
    untinted.create(850, 200, 80, 80, 0, 0, "white.png");
    sprites.push_back(untinted);
    globals.globalFade = 0.5f;
    sprites.push_back(makeSprite("white.png", 400, 200, 80, 80, 0, 0, 255, 128, 64));
    // Tints clamp rather than wrap; without alpha a normal sprite darkens and an additive one
    // adds nothing; any blend type but 1 is normal.
    expectPixels(drawFrame(sprites),
                 {{100, 200, 0xff8040},
                  {250, 200, 0xffff00},
                  {400, 200, 0x804020},
                  {550, 200, 0},
                  {700, 200, 0x0000ff},
                  {850, 200, 0},
                  {100, 500, 0x80007f},
                  {250, 500, 0x8000ff},
                  {400, 500, 0x80007f}},
                 2);
}

TEST_F(SpriteDrawing, CulledUnknownAndNonFiniteSpritesDrawNothing) {
    constexpr float nan = std::numeric_limits<float>::quiet_NaN();
    constexpr float inf = std::numeric_limits<float>::infinity();
    std::vector<Sprite> sprites{makeSprite("white.png", 100, 200, -100, 100),
                                makeSprite("white.png", 300, 200, 100, -100),
                                makeSprite("late.png", 500, 200, 100, 100),
                                makeSprite("white.png", nan, 400, 100, 100),
                                makeSprite("white.png", 300, 400, inf, 100),
                                makeSprite("white.png", 500, 400, 100, 100, nan),
                                makeSprite("white.png", 700, 400, 100, 100, 0, 0, nan),
                                makeSprite("white.png", 900, 400, 1e30f, 1e30f),
                                makeSprite("white.png", 512, 600, 100, 100)};
    expectPixels(drawFrame(sprites), {{100, 200, 0},
                                      {300, 200, 0},
                                      {500, 200, 0},
                                      {300, 400, 0},
                                      {500, 400, 0},
                                      {700, 400, 0},
                                      {900, 400, 0},
                                      {512, 600, 0xffffff}});
    EXPECT_EQ(drawCallsLastFrame(), 1);
    // A name the registry learns later is found on the next frame.
    addTexture("late.png", 0xff00ff00);
    expectPixels(drawFrame(sprites), {{500, 200, 0x00ff00}});
}

TEST_F(SpriteDrawing, OneCallPerRunOfEqualTextureAndBlendInDrawingOrder) {
    std::vector<Sprite> run;
    std::vector<Sprite> textures;
    std::vector<Sprite> blends;
    for (int i = 0; i < 50; ++i) {
        run.push_back(makeSprite("white.png", 100.0f + i * 10, 384, 40, 40, 0, 0, 255, 0, 0));
    }
    run.push_back(makeSprite("missing.png", 512, 384, 40, 40));
    run.push_back(makeSprite("white.png", 590, 384, 40, 40, 0, 0, 0, 255, 0));
    for (int i = 0; i < 4; ++i) {
        textures.push_back(
            makeSprite(i % 2 == 0 ? "white.png" : "quadrants.png", 500.0f + i * 10, 384, 100, 100));
        blends.push_back(makeSprite("white.png", 300, 300, 50, 50, 0, static_cast<short>(i % 2)));
    }
    expectPixels(drawFrame(run), {{590, 384, 0x00ff00}, {560, 384, 0xff0000}});
    EXPECT_EQ(drawCallsLastFrame(), 1);
    // The last one drawn, the quadrant picture centred at 530, is on top.
    expectPixels(drawFrame(textures), {{575, 360, 0xff0000}});
    EXPECT_EQ(drawCallsLastFrame(), 4);
    drawFrame(blends);
    EXPECT_EQ(drawCallsLastFrame(), 4);
    blends.clear();
    drawFrame(blends);
    EXPECT_EQ(drawCallsLastFrame(), 0);
}

TEST_F(SpriteDrawing, FrameIsClearedAndParticlesDrawOnTopOfTheMode) {
    std::vector<Sprite> mode{makeSprite("white.png", 300, 300, 50, 50, 0, 0, 255, 0, 0),
                             makeSprite("white.png", 512, 384, 80, 80, 0, 0, 0, 0, 255)};
    Sprite particle = makeSprite("white.png", 512, 384, 50, 50, 0, 0, 0, 255, 0);
    hooks.drawParticles = [&particle] { particle.render(); };
    globals.gameMode = 1;
    expectPixels(drawFrame(mode),
                 {{512, 384, 0x00ff00}, {545, 384, 0x0000ff}, {300, 300, 0xff0000}});
    // Other modes draw only the particles.
    globals.gameMode = 2;
    expectPixels(drawFrame(mode), {{300, 300, 0}, {512, 384, 0x00ff00}, {545, 384, 0}});
}

// The renderer cuts big quads into pieces; turned, they must still meet without gaps.
TEST_F(SpriteDrawing, LargeRotatedPicturesLeaveNoGapsBetweenPieces) {
    addTexture("big.png", 0xffffffff, 1024);
    for (float size : {1400.0f, 100000.0f}) {
        auto pixels = drawFrame(makeSprite("big.png", 512, 384, size, size, 0.7f));
        for (int y = 0; y < 768; y += 7) {
            for (int x = 0; x < 1024; x += 7) {
                ASSERT_EQ(rgbAt(pixels, x, y), 0xffffffu) << size << " at " << x << "," << y;
            }
        }
    }
}

} // namespace
} // namespace vastorim::test
