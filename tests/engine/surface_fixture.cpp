#include "engine/surface_fixture.h"

#include "engine/mod_dx8_render.h"
#include "engine/mod_res_textures.h"
#include "engine/mod_vbp_start.h"

#include <cstdlib>

namespace vastorim::test {

void SurfaceTest::SetUp() {
    video = platform::createOffscreenVideo();
    video->open();
    setCurrentVideo(video.get());
    resetTextureList();
    resetRenderState();
    resetGlobalState();
    hooks = EngineHooks{};
}

void SurfaceTest::TearDown() {
    hooks = EngineHooks{};
    resetGlobalState();
    resetTextureList();
    setCurrentVideo(nullptr);
}

void SurfaceTest::addTexture(const std::string& name, std::uint32_t argb) {
    writePicture(folder.file(name), 16, argb);
    loadTexture(0, 0, folder.file(name));
}

std::vector<std::uint32_t> SurfaceTest::drawFrame(std::vector<clsSprite>& sprites) {
    hooks.drawMode = [&sprites] {
        for (clsSprite& sprite : sprites) {
            sprite.render();
        }
    };
    renderFrame();
    hooks.drawMode = nullptr;
    return video->readPixels();
}

clsSprite makeSprite(const std::string& texture, float x, float y, float sizex, float sizey,
                     float angle, std::int16_t blend, float r, float g, float b, float a) {
    clsSprite sprite;
    sprite.create(x, y, sizex, sizey, angle, blend, texture);
    sprite.setPoints(r, g, b, a);
    return sprite;
}

::testing::AssertionResult hasColour(const std::vector<std::uint32_t>& pixels, int x, int y, int r,
                                     int g, int b, int tolerance) {
    std::uint32_t pixel = pixels.at(static_cast<std::size_t>(y) * platform::surfaceWidth + x);
    int actual[3] = {static_cast<int>((pixel >> 16) & 0xff), static_cast<int>((pixel >> 8) & 0xff),
                     static_cast<int>(pixel & 0xff)};
    int expected[3] = {r, g, b};
    for (int i = 0; i < 3; ++i) {
        if (std::abs(actual[i] - expected[i]) > tolerance) {
            return ::testing::AssertionFailure()
                   << "pixel (" << x << ", " << y << ") is (" << actual[0] << ", " << actual[1]
                   << ", " << actual[2] << "), expected (" << r << ", " << g << ", " << b << ")";
        }
    }
    return ::testing::AssertionSuccess();
}

} // namespace vastorim::test
