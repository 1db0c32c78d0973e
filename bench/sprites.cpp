#include "engine/renderer.h"
#include "engine/sprite.h"
#include "engine/textures.h"
#include "platform/png_file.h"
#include "platform/video.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <vector>

namespace {

using namespace vastorim;

constexpr int spriteCount = 10001;

// 10001 sprites of one texture, as a full emitter draws them; 1 in 16 additive.
struct Scene {
    std::unique_ptr<platform::Video> video = platform::createOffscreenVideo();
    std::vector<Sprite> sprites;

    Scene() {
        video->open();
        setCurrentVideo(video.get());
        resetTextureList();
        std::string path = (std::filesystem::temp_directory_path() / "bench-spark.png").string();
        platform::savePng(path, 16, 16, std::vector<std::uint32_t>(256, 0x80ffc080));
        loadTexture(0, 0, path);
        std::remove(path.c_str());
        sprites.resize(spriteCount);
        for (int i = 0; i < spriteCount; ++i) {
            sprites[i].create(static_cast<float>(i % 1000), static_cast<float>(i % 700), 12, 12,
                              i * 0.01f, i % 16 == 0 ? 1 : 0, "bench-spark.png");
            sprites[i].setPoints(255, 200, 100, 128);
        }
    }
    ~Scene() {
        setCurrentVideo(nullptr);
        resetTextureList();
    }
};

// The engine's share of a frame: lookups, corner maths and batching, without rasterising.
void BM_QueueSprites(benchmark::State& state) {
    Scene scene;
    setCurrentVideo(nullptr); // batches are formed and then dropped instead of rasterised
    for (auto _ : state) {
        for (Sprite& sprite : scene.sprites) {
            sprite.render();
        }
        flushSprites();
    }
    state.SetItemsProcessed(state.iterations() * spriteCount);
}
BENCHMARK(BM_QueueSprites)->Unit(benchmark::kMicrosecond);

} // namespace
