#include "engine/renderer.h"
#include "engine/startup.h"
#include "engine/textures.h"
#include "particles/emitter.h"
#include "platform/video.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

using namespace vastorim;

namespace {

// A red square parked left of the spawn point, and a half-transparent additive green square that
// starts right of it and moves right at 100 pixels per second, both from one white texture.
const char* const kTestEffect =
    "red,1:0|255,1:0|0,1:0|0,1:0|255,1:0|40,1:0|40,1:0|0,1:0|0,1:0|0,white.png,1,0,0,0,5,-200,0\n"
    "green,1:0|0,1:0|255,1:0|0,1:0|128,1:0|20,1:0|20,1:0|100,1:0|0,1:0|0,white.png,1,1,0,0,5,200,"
    "0\nEND\n";

TEST(EmitterPixels, LiveParticlesAppearWhereTheFilePutsThemAndMove) {
    test::TempFolder folder;
    std::unique_ptr<platform::Video> video = platform::createOffscreenVideo();
    resetGlobalState();
    hooks = EngineHooks();
    hooks.drawParticles = [] { emitter.render(); };
    initRenderer(*video);
    resetTextureList();
    test::writePicture(folder.file("white.png"), 8, 0xffffffff);
    loadTexture(0, 0, folder.file("white.png"));
    emitter.initialize();
    emitter.addEffect(folder.write("test.txt", kTestEffect));

    globals.frameTime = 0.1f;
    std::int16_t green = emitter.spawnEffect(512, 384);
    for (int frame = 0; frame < 10; ++frame) {
        emitter.update();
    }
    renderFrame();
    auto pixels = video->readPixels();
    auto at = [&](int x, int y) { return test::rgbAt(pixels, x, y); };
    EXPECT_EQ(at(312, 384), 0xff0000u) << "red square at its offset";
    EXPECT_EQ(at(312 + 15, 384 + 15), 0xff0000u);
    EXPECT_EQ(at(312 + 25, 384), 0u) << "the red square is 40 pixels wide";
    // Ten frames of 0.1 s at 100 pixels per second from 712.
    EXPECT_EQ(at(812, 384) & 0xff00ffu, 0u);
    EXPECT_NEAR(static_cast<int>(at(812, 384) >> 8), 128, 2) << "additive green at half opacity";
    EXPECT_EQ(at(712, 384), 0u) << "nothing left at the start point";
    EXPECT_EQ(at(512, 384), 0u);
    EXPECT_EQ(drawCallsLastFrame(), 2) << "one batch per texture and blend mode";

    emitter.getParticle(green)->killAt = -1;
    renderFrame();
    pixels = video->readPixels();
    EXPECT_EQ(at(312, 384), 0xff0000u);
    EXPECT_EQ(at(812, 384), 0u) << "a dead particle is not drawn";

    emitter.initialize();
    hooks = EngineHooks();
    shutdownRenderer();
    resetTextureList();
}

} // namespace
