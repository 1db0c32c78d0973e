#include "engine/renderer.h"
#include "engine/sprite.h"
#include "platform/video.h"
#include "support/engine_fixture.h"

#include <algorithm>
#include <cstdlib>
#include <limits>
#include <memory>
#include <numbers>
#include <tuple>
#include <vector>

namespace vastorim::test {
namespace {

// A clean engine with an open offscreen surface as its current video.
class SurfaceTest : public EngineTest {
  protected:
    using Pixels = std::vector<std::uint32_t>;
    void SetUp() override {
        video->open();
        setCurrentVideo(video.get());
        resetRenderState();
    }
    void TearDown() override { setCurrentVideo(nullptr); }

    // Loads a size x size picture of one colour written into the temporary folder under name.
    void addTexture(const std::string& name, std::uint32_t argb, int size = 16) {
        writePicture(folder.file(name), size, argb);
        loadTexture(0, 0, folder.file(name));
    }

    // Draws one frame in which the mode's drawing renders these sprites in order.
    Pixels drawFrame(std::vector<Sprite>&& sprites) { return drawFrame(sprites); }
    Pixels drawFrame(std::vector<Sprite>& sprites) {
        hooks.drawMode = [&sprites] {
            for (Sprite& sprite : sprites) {
                sprite.render();
            }
        };
        renderFrame();
        hooks.drawMode = nullptr;
        return video->readPixels();
    }

    std::unique_ptr<platform::Video> video = platform::createOffscreenVideo();
};

// A sprite tinted by setPoints with the current globalFade.
Sprite makeSprite(const std::string& texture, float x, float y, float sizeX, float sizeY,
                  float angle = 0, std::int16_t blend = 0, float r = 255, float g = 255,
                  float b = 255, float a = 255) {
    Sprite sprite;
    sprite.create(x, y, sizeX, sizeY, angle, blend, texture);
    sprite.setPoints(r, g, b, a);
    return sprite;
}

struct Probe {
    int x, y;
    std::uint32_t rgb;
};

// Every probed pixel has its colour, each channel within tolerance.
void expectPixels(const std::vector<std::uint32_t>& pixels, const std::vector<Probe>& probes,
                  int tolerance = 1) {
    for (const Probe& probe : probes) {
        const std::uint32_t actual = rgbAt(pixels, probe.x, probe.y);
        int off = 0;
        for (int shift : {16, 8, 0}) {
            off = std::max(off,
                           std::abs(int(actual >> shift & 0xff) - int(probe.rgb >> shift & 0xff)));
        }
        EXPECT_LE(off, tolerance) << "pixel (" << probe.x << ", " << probe.y << ") is " << std::hex
                                  << actual << ", expected " << probe.rgb;
    }
}

using TextureRegistry = SurfaceTest;

TEST_F(TextureRegistry, QueriesAreLowerCasedAndKnownFileNamesAddNothing) {
    addTexture("ship.png", 0xffffffff);
    addTexture("Rock.png", 0xffffffff);
    const std::pair<const char*, int> queries[] = {
        {"ship.png", 0}, {"Ship.PNG", 0}, {"ship", -1}, {"Rock.png", 1}, {"rock.PNG", 1}};
    for (const auto& [name, index] : queries) {
        EXPECT_EQ(findTexture(name), index) << name;
    }

    writePicture(folder.file("other/ship.png"), 8, 0xff00ff00);
    unsigned generation = textureGeneration();
    loadTexture(0, 0, folder.file("other/ship.png"));
    loadTexture(0, 0, folder.path() + "\\other\\ship.png");
    EXPECT_EQ(lastTexture(), 1);
    EXPECT_EQ(textureGeneration(), generation);
    loadTexture(0, 0, folder.file("ROCK.png"));
    EXPECT_EQ(lastTexture(), 1) << "names are folded on both sides";

    generation = textureGeneration();
    resetTextureList();
    EXPECT_EQ(lastTexture(), -1);
    EXPECT_NE(textureGeneration(), generation) << "sprites look their pictures up again";
}

// The list ends at an exact END line or at the end of the file; anything else is a picture name.
TEST_F(TextureRegistry, TheListEndsAtEndAndBadListsAndPicturesAreErrorsNamingTheFile) {
    const std::string graphics = folder.path() + "/graphics/";
    for (const char* name : {"a.png", "b.png", "sub/c.png"}) {
        writePicture(graphics + name, 8, 0xffffffff);
    }
    writeFile(folder.file("broken.png"), "not a picture");
    const std::tuple<const char*, std::string, int> lists[] = {
        {"a.png\nEND\nb.png\n", "(no error)", 0},
        {"gone.png\nEND\n", graphics + "gone.png:0: ", -1},
        {"a.png\nEnd\nEND\n", graphics + "End:0: ", 0},
        {"a.png\n\nEND\n", graphics + "resource list.txt:2: ", 0},
        {"a.png\nb.png\nsub/c.png", "(no error)", 2}};
    for (const auto& [list, place, last] : lists) {
        resetTextureList();
        writeFile(graphics + "resource list.txt", list);
        EXPECT_EQ(errorOf(loadResourceList), place) << list;
        EXPECT_EQ(lastTexture(), last) << list;
    }
    EXPECT_EQ(findTexture("c.png"), 2) << "known by its file name";
    resetTextureList();
    writeFile(graphics + "resource list.txt", "a.png\ngone.png\n");
    EXPECT_TRUE(messageOf(loadResourceList)
                    .ends_with("(listed on line 2 of " + graphics + "resource list.txt)"));
    for (const std::string& picture : {folder.file("broken.png"), folder.file("absent.png")}) {
        EXPECT_EQ(errorOf([&] { loadTexture(0, 0, picture); }), picture + ":0: ");
    }
    // Headers claiming huge pictures are refused before anything is decoded.
    const std::string huge = folder.file("huge.png");
    for (const std::uint32_t side : {20000u, 65535u, 0xffffffffu}) {
        std::string png("\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR", 16);
        for (int i = 0; i < 8; ++i) { // width and height, big-endian
            png += static_cast<char>(side >> (24 - 8 * (i % 4)));
        }
        writeFile(huge, png + std::string(200, '\0'));
        EXPECT_EQ(errorOf([&] { loadTexture(0, 0, huge); }), huge + ":0: ");
        platform::Picture decoded;
        std::string problem;
        EXPECT_FALSE(platform::readPicture(huge, decoded, problem));
        EXPECT_NE(problem.find("more than the 8192 on a side"), std::string::npos) << problem;
    }
    // Cut short anywhere after its header, a picture is refused before the decoder reads past its
    // end (it would go round the last chunk for ever).
    const std::string whole = readFile(graphics + "a.png"), cut = folder.file("cut.png");
    for (std::size_t length = 24; length < whole.size(); length += 3) {
        writeFile(cut, whole.substr(0, length));
        EXPECT_EQ(errorOf([&] { loadTexture(0, 0, cut); }), cut + ":0: ") << length;
        platform::Picture decoded;
        std::string problem;
        EXPECT_FALSE(platform::readPicture(cut, decoded, problem));
        EXPECT_NE(problem.find("cut short"), std::string::npos) << problem;
    }
    const std::string endless = VASTORIM_SOURCE_DIR "/fuzz/seeds/png/trns-past-the-end.png";
    EXPECT_EQ(errorOf([&] { loadTexture(0, 0, endless); }), endless + ":0: ");
}

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
    using Case =
        std::tuple<float, float, std::uint32_t, std::uint32_t, std::uint32_t, std::uint32_t>;
    for (const auto& [size, angle, tr, br, bl, tl] :
         {Case{200, 0, 0xff0000, 0x00ff00, 0xffffff, 0x0000ff},
          Case{200, quarter, 0x0000ff, 0xff0000, 0x00ff00, 0xffffff},
          Case{-200, 0, 0xffffff, 0x0000ff, 0xff0000, 0x00ff00}}) {
        SCOPED_TRACE(testing::Message() << size << " at " << angle);
        expectPixels(drawFrame({makeSprite("quadrants.png", 512, 384, size, size, angle)}),
                     {{562, 334, tr}, {562, 434, br}, {462, 434, bl}, {462, 334, tl}});
    }
    expectPixels(drawFrame({makeSprite("quadrants.png", 512, 384, 300, 60)}),
                 {{652, 374, 0xff0000}, {372, 394, 0xffffff}, {512, 424, 0}, {672, 384, 0}});
    expectPixels(drawFrame({makeSprite("quadrants.png", 512, 384, 300, 60, quarter)}),
                 {{522, 514, 0xff0000}, {502, 254, 0xffffff}, {612, 384, 0}, {512, 544, 0}});
}

// Over a blue background: tints clamp rather than wrap; without alpha a normal sprite darkens and
// an additive one adds nothing; any blend type but 1 is normal; an untinted sprite is black; the
// fade darkens the tint.
TEST_F(SpriteDrawing, TintFadeAlphaAndBothBlendModes) {
    std::vector<Sprite> sprites{makeSprite("white.png", 512, 384, 1024, 768, 0, 0, 0, 0, 255)};
    std::vector<Probe> probes;
    const auto add = [&](Sprite sprite, std::uint32_t rgb) {
        probes.push_back({static_cast<int>(sprite.x), static_cast<int>(sprite.y), rgb});
        sprites.push_back(std::move(sprite));
    };
    add(makeSprite("white.png", 100, 200, 80, 80, 0, 0, 255, 128, 64), 0xff8040);
    add(makeSprite("white.png", 250, 200, 80, 80, 0, 0, 400, 255, 0, 400), 0xffff00);
    add(makeSprite("white.png", 550, 200, 80, 80, 0, 0, 255, 255, 255, 0), 0);
    add(makeSprite("white.png", 700, 200, 80, 80, 0, 1, 255, 255, 255, 0), 0x0000ff);
    add(makeSprite("half.png", 100, 500, 80, 80, 0, 0, 255, 0, 0), 0x80007f);
    add(makeSprite("half.png", 250, 500, 80, 80, 0, 1, 255, 0, 0), 0x8000ff);
    add(makeSprite("half.png", 400, 500, 80, 80, 0, 7, 255, 0, 0), 0x80007f);
    Sprite untinted;
    untinted.create(850, 200, 80, 80, 0, 0, "white.png");
    add(untinted, 0);
    globals.globalFade = 0.5f;
    add(makeSprite("white.png", 400, 200, 80, 80, 0, 0, 255, 128, 64), 0x804020);
    expectPixels(drawFrame(sprites), probes, 2);
}

TEST_F(SpriteDrawing, CulledUnknownAndNonFiniteSpritesDrawNothing) {
    constexpr float nan = std::numeric_limits<float>::quiet_NaN();
    constexpr float inf = std::numeric_limits<float>::infinity();
    for (const Sprite& sprite :
         {makeSprite("white.png", 100, 200, -100, 100),
          makeSprite("white.png", 300, 200, 100, -100), makeSprite("late.png", 500, 200, 100, 100),
          makeSprite("white.png", nan, 400, 100, 100), makeSprite("white.png", 300, 400, inf, 100),
          makeSprite("white.png", 500, 400, 100, 100, nan),
          makeSprite("white.png", 700, 400, 100, 100, 0, 0, nan),
          makeSprite("white.png", 900, 400, 1e30f, 1e30f)}) {
        const auto pixels = drawFrame({sprite});
        EXPECT_EQ(drawCallsLastFrame(), 0);
        EXPECT_TRUE(std::none_of(pixels.begin(), pixels.end(),
                                 [](std::uint32_t p) { return (p & 0xffffff) != 0; }));
    }
    // A name the registry learns later is found on the next frame.
    std::vector<Sprite> late{makeSprite("late.png", 500, 200, 100, 100)};
    drawFrame(late);
    addTexture("late.png", 0xff00ff00);
    expectPixels(drawFrame(late), {{500, 200, 0x00ff00}});
}

TEST_F(SpriteDrawing, OneCallPerRunOfEqualTextureAndBlendInDrawingOrder) {
    std::vector<Sprite> run;
    for (int i = 0; i < 50; ++i) {
        run.push_back(makeSprite("white.png", 100.0f + i * 10, 384, 40, 40, 0, 0, 255, 0, 0));
    }
    run.push_back(makeSprite("missing.png", 512, 384, 40, 40));
    run.push_back(makeSprite("white.png", 590, 384, 40, 40, 0, 0, 0, 255, 0));
    expectPixels(drawFrame(run), {{590, 384, 0x00ff00}, {560, 384, 0xff0000}});
    EXPECT_EQ(drawCallsLastFrame(), 1);

    std::vector<Sprite> textures, blends;
    for (int i = 0; i < 4; ++i) {
        textures.push_back(
            makeSprite(i % 2 == 0 ? "white.png" : "quadrants.png", 500.0f + i * 10, 384, 100, 100));
        blends.push_back(makeSprite("white.png", 300, 300, 50, 50, 0, static_cast<short>(i % 2)));
    }
    // The last one drawn, the quadrant picture centred at 530, is on top.
    expectPixels(drawFrame(textures), {{575, 360, 0xff0000}});
    EXPECT_EQ(drawCallsLastFrame(), 4);
    drawFrame(blends);
    EXPECT_EQ(drawCallsLastFrame(), 4);
}

TEST_F(SpriteDrawing, BlackSpritesAreLeftOutWhereTheyWouldChangeNoPixel) {
    // A red square at 300 and text (as far as the renderer is told) at 700; then one black
    // sprite: drawn only where it blends over something that is not black.
    struct Case {
        const char* what;
        float x;
        std::int16_t blend;
        int drawCalls;
        std::uint32_t rgbAtX;
    };
    for (const Case& c : {Case{"added, over the square", 300, 1, 1, 0xff0000},
                          Case{"blended, over black", 100, 0, 1, 0},
                          Case{"blended, over the square", 300, 0, 2, 0x7f0000},
                          Case{"blended, over the text", 700, 0, 2, 0}}) {
        SCOPED_TRACE(c.what);
        hooks.drawParticles = [&c] {
            makeSprite("white.png", 300, 384, 60, 60, 0, 0, 255, 0, 0).render();
            markDrawn(680, 370, 720, 400);
            makeSprite("half.png", c.x, 384, 40, 40, 0, c.blend, 0, 0, 0).render();
        };
        const Pixels pixels = drawFrame({});
        EXPECT_EQ(drawCallsLastFrame(), c.drawCalls);
        expectPixels(pixels, {{static_cast<int>(c.x), 384, c.rgbAtX}}, 2);
    }
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
        auto pixels = drawFrame({makeSprite("big.png", 512, 384, size, size, 0.7f)});
        for (int y = 0; y < 768; y += 7) {
            for (int x = 0; x < 1024; x += 7) {
                ASSERT_EQ(rgbAt(pixels, x, y), 0xffffffu) << size << " at " << x << "," << y;
            }
        }
    }
}

} // namespace
} // namespace vastorim::test
