#include "engine/surface_fixture.h"

#include "engine/renderer.h"
#include "engine/startup.h"
#include "engine/textures.h"

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

std::vector<std::uint32_t> SurfaceTest::drawFrame(std::vector<Sprite>& sprites) {
    hooks.drawMode = [&sprites] {
        for (Sprite& sprite : sprites) {
            sprite.render();
        }
    };
    renderFrame();
    hooks.drawMode = nullptr;
    return video->readPixels();
}

std::vector<std::uint32_t> SurfaceTest::drawFrame(Sprite sprite) {
    std::vector<Sprite> sprites{sprite};
    return drawFrame(sprites);
}

Sprite makeSprite(const std::string& texture, float x, float y, float sizeX, float sizeY,
                  float angle, std::int16_t blend, float r, float g, float b, float a) {
    Sprite sprite;
    sprite.create(x, y, sizeX, sizeY, angle, blend, texture);
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
