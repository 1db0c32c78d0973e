// Submitting 10001 live particles' sprites: batched by texture and blend mode, against one
// geometry call per sprite.
#include "engine/random.h"
#include "engine/renderer.h"
#include "engine/startup.h"
#include "engine/textures.h"
#include "particles/emitter.h"
#include "platform/png_file.h"
#include "platform/video.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <vector>

namespace {

using namespace vastorim;

struct Scene {
    std::unique_ptr<platform::Video> video = platform::createOffscreenVideo();
    std::filesystem::path folder =
        std::filesystem::temp_directory_path() / "vastorim-bench-sprites";

    Scene() {
        std::filesystem::create_directories(folder);
        std::vector<std::uint32_t> white(64, 0xffffffff);
        platform::savePng((folder / "dot.png").string(), 8, 8, white);
        std::ofstream(folder / "fx.txt")
            << "spark,1:0|255,1:0|200,1:0|100,1:0|255,1:0|4,1:0|4,1:0|0,1:0|0,1:0|0,dot.png,1,1,0,"
               "0,1000,rnd(-500&500),rnd(-380&380)\nEND\n";
        resetGlobalState();
        initRenderer(*video);
        resetTextureList();
        loadTexture(0, 0, (folder / "dot.png").string());
        emitter.initialize();
        emitter.addEffect((folder / "fx.txt").string());
        seedRandom(1);
        while (emitter.getParticles() < Emitter::kSlots) {
            emitter.spawnEffect(512, 384, "fx.txt");
        }
        globals.frameTime = 0.016f;
        emitter.update();
    }
    ~Scene() {
        emitter.initialize();
        shutdownRenderer();
        std::filesystem::remove_all(folder);
    }
};

void submit(benchmark::State& state, bool batched) {
    Scene scene;
    int calls = 0;
    for (auto _ : state) {
        scene.video->clear();
        hooks.drawParticles = [batched] {
            for (std::int16_t i = 0; i < emitter.getParticles(); ++i) {
                emitter.getParticle(i)->render();
                if (!batched) {
                    flushSprites();
                }
            }
        };
        renderFrame();
        calls = drawCallsLastFrame();
    }
    hooks = EngineHooks();
    state.counters["draw_calls"] = calls;
}

void batchedSprites(benchmark::State& state) {
    submit(state, true);
}
void oneCallPerSprite(benchmark::State& state) {
    submit(state, false);
}
BENCHMARK(batchedSprites)->Unit(benchmark::kMillisecond);
BENCHMARK(oneCallPerSprite)->Unit(benchmark::kMillisecond);

} // namespace
