#include "engine/mod_dx8_init.h"
#include "engine/mod_dx8_render.h"
#include "engine/mod_res_textures.h"
#include "engine/mod_vbp_start.h"
#include "particles/clsEmitter.h"
#include "platform/video.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

using namespace vastorim;

namespace {

// A red square parked left of the spawn point, and a half-transparent green square that starts
// right of it and moves right at 100 pixels per second, both from one white texture.
const char* const kTestEffect =
    "red,1:0|255,1:0|0,1:0|0,1:0|255,1:0|40,1:0|40,1:0|0,1:0|0,1:0|0,white.png,1,0,0,0,5,-200,0\n"
    "green,1:0|0,1:0|255,1:0|0,1:0|128,1:0|20,1:0|20,1:0|100,1:0|0,1:0|0,white.png,1,1,0,0,5,200,"
    "0\nEND\n";

class EmitterPixels : public ::testing::Test {
  protected:
    void SetUp() override {
        resetGlobalState();
        hooks = EngineHooks();
        hooks.drawParticles = [] { emitter.render(); };
        initDirect3D(*video);
        resetTextureList();
        test::writePicture(folder.file("white.png"), 8, 0xffffffff);
        loadTexture(0, 0, folder.file("white.png"));
        test::writeFile(folder.file("test.txt"), kTestEffect);
        emitter.initialize();
        emitter.addEffect(folder.file("test.txt"));
    }
    void TearDown() override {
        emitter.initialize();
        hooks = EngineHooks();
        shutdownDirect3D();
        resetTextureList();
    }

    std::uint32_t pixel(const std::vector<std::uint32_t>& pixels, int x, int y) {
        return pixels[static_cast<std::size_t>(y * platform::surfaceWidth + x)] & 0xffffff;
    }

    test::TempFolder folder;
    std::unique_ptr<platform::Video> video = platform::createOffscreenVideo();
};

} // namespace

TEST_F(EmitterPixels, ParticlesAppearWhereTheFilePutsThemAndMove) {
    globals.frameTime = 0.1f;
    emitter.spawnEffect(512, 384);
    for (int frame = 0; frame < 10; ++frame) {
        emitter.update();
    }
    renderFrame();
    auto pixels = video->readPixels();
    EXPECT_EQ(pixel(pixels, 312, 384), 0xff0000u) << "red square at its offset";
    EXPECT_EQ(pixel(pixels, 312 + 15, 384 + 15), 0xff0000u);
    EXPECT_EQ(pixel(pixels, 312 + 25, 384), 0u) << "the red square is 40 pixels wide";
    // Ten frames of 0.1 s at 100 pixels per second from 712.
    std::uint32_t green = pixel(pixels, 812, 384);
    EXPECT_EQ(green & 0xff00ffu, 0u);
    EXPECT_NEAR(static_cast<int>(green >> 8), 128, 2) << "additive green at half opacity";
    EXPECT_EQ(pixel(pixels, 712, 384), 0u) << "nothing left at the start point";
    EXPECT_EQ(pixel(pixels, 512, 384), 0u);
    EXPECT_EQ(drawCallsLastFrame(), 2) << "one batch per texture and blend mode";
}

TEST_F(EmitterPixels, DeadParticlesAreNotDrawn) {
    globals.frameTime = 0.1f;
    std::int16_t last = emitter.spawnEffect(512, 384);
    emitter.update();
    emitter.getParticle(last)->lngKillat = -1;
    renderFrame();
    auto pixels = video->readPixels();
    EXPECT_EQ(pixel(pixels, 312, 384), 0xff0000u);
    EXPECT_EQ(pixel(pixels, 722, 384), 0u);
}
