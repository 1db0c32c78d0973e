#include "engine/platform_access.h"
#include "engine/renderer.h"
#include "particles/effect_preview.h"
#include "particles/emitter.h"
#include "platform/clock.h"
#include "platform/events.h"
#include "platform/platform.h"
#include "platform/video.h"
#include "support/engine_fixture.h"

#include <algorithm>
#include <sstream>

using namespace vastorim;
using platform::Event;

namespace {

constexpr std::uint32_t kWhite = 0xffffff;
constexpr std::uint32_t kRed = 0xff0000;

// A motionless square, 20 pixels wide, of the given colour, living 30 seconds.
std::string squareEffect(const std::string& red, const std::string& green,
                         const std::string& spawnCount = "1") {
    return "square,1:0|" + red + ",1:0|" + green + ",1:0|" + green +
           ",1:0|255,1:0|20,1:0|20,1:0|0,1:0|0,1:0|0,white.png," + spawnCount +
           ",0,0,0,30,0,0\nEND\n";
}

// The headless platform's renderer with a white picture loaded, and an effect preview on it fed by
// scripted events and a stamp the test moves on whenever it rewrites the file, as saving it in an
// editor would.
class ParticlesOnScreen : public test::EngineTest {
  protected:
    void SetUp() override {
        setCurrentPlatform(&headless);
        initRenderer(*headless.video);
        test::writePicture(folder.file("white.png"), 8, 0xffffffff);
        loadTexture(0, 0, folder.file("white.png"));
    }
    void TearDown() override {
        preview.reset();
        shutdownRenderer();
        setCurrentPlatform(nullptr);
    }

    void startPreview() {
        const auto readStamp = [this] {
            ++stampReads;
            return stamp;
        };
        preview = std::make_unique<EffectPreview>(file, readStamp, errors);
        preview->start(headless.clock->ticks());
    }

    void save(const std::string& text) {
        test::writeFile(file, text);
        ++stamp.modified;
    }

    bool runFrames(int count) {
        bool running = true;
        for (int i = 0; i < count && running; ++i) {
            running = preview->runFrame(headless);
        }
        return running;
    }

    // Enough 16 ms frames for the stamp to be looked at again.
    bool runPastCheck() { return runFrames(EffectPreview::kCheckIntervalMs / 16 + 1); }

    void push(const Event& event) {
        static_cast<platform::ScriptedEvents&>(*headless.events).push(event);
    }

    std::uint32_t pixel(int x, int y) { return test::rgbAt(headless.video->readPixels(), x, y); }

    // Whether anything is drawn in the rows from top to bottom.
    bool bandInked(int top, int bottom) {
        const auto pixels = headless.video->readPixels();
        return std::any_of(pixels.begin() + top * platform::surfaceWidth,
                           pixels.begin() + bottom * platform::surfaceWidth,
                           [](std::uint32_t p) { return (p & 0xffffff) != 0; });
    }
    // The band at the top where errors are shown.
    bool errorBandInked() { return bandInked(0, 100); }

    std::string file = folder.write("effect.txt", squareEffect("255", "255"));
    platform::Platform headless = platform::createHeadlessPlatform(16);
    FileStamp stamp{true, 1, 0};
    int stampReads = 0;
    std::ostringstream errors;
    std::unique_ptr<EffectPreview> preview;
};

TEST_F(ParticlesOnScreen,
       ThePreviewSpawnsAtTheCentreThenOnSpaceAndWhereTheClickIsUntilEscapeOrClose) {
    startPreview();
    ASSERT_TRUE(runFrames(1));
    EXPECT_EQ(pixel(512, 384), kWhite);
    EXPECT_TRUE(bandInked(744, 768)) << "the file's name and the keys at the bottom";

    push({Event::Type::Click, 0, 200, 150});
    ASSERT_TRUE(runFrames(1));
    EXPECT_EQ(std::tuple(pixel(200 + 9, 150 - 9), pixel(200 + 12, 150)), std::tuple(kWhite, 0u))
        << "the square is centred on the click";

    push({Event::Type::KeyDown, 32});
    push({Event::Type::KeyUp, 32});
    push({Event::Type::KeyDown, 65});
    ASSERT_TRUE(runFrames(1));
    ASSERT_EQ(emitter.getParticles(), 3) << "space alone spawns";
    EXPECT_EQ(emitter.getParticle(2)->x, 512);

    EXPECT_TRUE(runFrames(3)) << "nothing pending, nothing ends";
    for (const Event ending : {Event{Event::Type::KeyDown, 27}, Event{Event::Type::Close, 0}}) {
        push(ending);
        EXPECT_FALSE(runFrames(1));
    }
}

TEST_F(ParticlesOnScreen,
       ThePreviewShowsSavesWithinTheCheckIntervalAndBrokenOnesKeepThePreviousEffect) {
    startPreview();
    push({Event::Type::Click, 0, 100, 300});
    ASSERT_TRUE(runFrames(1));
    EXPECT_FALSE(errorBandInked());

    save(squareEffect("255", "255", "x"));
    ASSERT_TRUE(runFrames(2));
    EXPECT_TRUE(preview->error().empty()) << "not looked at again yet";
    ASSERT_TRUE(runPastCheck());
    EXPECT_EQ(errors.str(), file + ":1: field 11 (spawnCount): \"x\" is not a number\n");
    EXPECT_NE(preview->error().find("line 1, field 11 (spawnCount)"), std::string::npos);
    EXPECT_EQ(std::tuple(errorBandInked(), pixel(512, 384)), std::tuple(true, kWhite))
        << "the error shows, and the previous version stays on screen";
    push({Event::Type::Click, 0, 300, 500});
    ASSERT_TRUE(runFrames(1));
    EXPECT_EQ(pixel(300, 500), kWhite) << "the previous version still spawns";

    save(squareEffect("255", "000"));
    ASSERT_TRUE(runPastCheck());
    EXPECT_EQ(std::tuple(preview->error(), errorBandInked()), std::tuple("", false));
    EXPECT_EQ(pixel(512, 384), kRed) << "the new version spawned at the centre";
    EXPECT_EQ(std::tuple(pixel(100, 300), emitter.getParticles()), std::tuple(0u, 1))
        << "the old version's particles are gone";

    const int reads = stampReads;
    ASSERT_TRUE(runFrames(63));
    EXPECT_GE(stampReads - reads, 3) << "the stamp is read a few times a second";
    EXPECT_LE(stampReads - reads, 5);
    EXPECT_GT(emitter.getParticle(0)->age, 0.9) << "an unchanged stamp reloads nothing";
}

// A red square parked 200 pixels left of the spawn point, and a half-transparent additive green
// square that starts 200 pixels right of it and moves right at 100 pixels per second.
TEST_F(ParticlesOnScreen, TheEmitterDrawsLiveParticlesWhereTheFilePutsThemAsTheyMove) {
    save("red,1:0|255,1:0|0,1:0|0,1:0|255,1:0|40,1:0|40,1:0|0,1:0|0,1:0|0,white.png,1,0,0,0,5,"
         "-200,0\ngreen,1:0|0,1:0|255,1:0|0,1:0|128,1:0|20,1:0|20,1:0|100,1:0|0,1:0|0,white.png,"
         "1,1,0,0,5,200,0\nEND\n");
    startPreview();
    ASSERT_TRUE(runFrames(26)); // 25 steps of 16 ms: 40 pixels
    EXPECT_EQ(std::tuple(pixel(312, 384), pixel(312 + 15, 384 + 15), pixel(312 + 25, 384)),
              std::tuple(kRed, kRed, 0u))
        << "the red square at its offset, 40 pixels wide";
    EXPECT_EQ(pixel(752, 384) & 0xff00ffu, 0u);
    EXPECT_NEAR(static_cast<int>(pixel(752, 384) >> 8), 128, 2) << "additive green, half opacity";
    EXPECT_EQ(pixel(712, 384), 0u) << "nothing left at the start point";

    emitter.getParticle(1)->killAt = -1;
    ASSERT_TRUE(runFrames(1));
    EXPECT_EQ(std::tuple(pixel(312, 384), pixel(752, 384)), std::tuple(kRed, 0u))
        << "a dead particle is not drawn";
}

} // namespace
