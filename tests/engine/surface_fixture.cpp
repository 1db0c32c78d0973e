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

void SurfaceTest::addTexture(const std::string& name, std::uint32_t argb, int size) {
    writePicture(folder.file(name), size, argb);
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

std::vector<std::uint32_t> SurfaceTest::drawFrame(clsSprite sprite) {
    std::vector<clsSprite> sprites{sprite};
    return drawFrame(sprites);
}

clsSprite makeSprite(const std::string& texture, float x, float y, float sizex, float sizey,
                     float angle, std::int16_t blend, float r, float g, float b, float a) {
    clsSprite sprite;
    sprite.create(x, y, sizex, sizey, angle, blend, texture);
    sprite.setPoints(r, g, b, a);
    return sprite;
}

void expectPixels(const std::vector<std::uint32_t>& pixels, const std::vector<Probe>& probes,
                  int tolerance) {
    for (const Probe& probe : probes) {
        std::uint32_t actual = rgbAt(pixels, probe.x, probe.y);
        for (int shift : {16, 8, 0}) {
            int got = static_cast<int>((actual >> shift) & 0xff);
            int want = static_cast<int>((probe.rgb >> shift) & 0xff);
            if (std::abs(got - want) > tolerance) {
                ADD_FAILURE() << "pixel (" << probe.x << ", " << probe.y << ") is " << std::hex
                              << actual << ", expected " << probe.rgb;
                break;
            }
        }
    }
}

} // namespace vastorim::test
