// Spawning and baking typical particle types, and one emitter update with every slot live.
#include "engine/random.h"
#include "engine/startup.h"
#include "particles/emitter.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>

namespace {

using namespace vastorim;

// Two typical types (a flame and a smoke puff), eight particles per spawn.
void loadTypicalEffect() {
    auto path = std::filesystem::temp_directory_path() / "vastorim-bench-flame.txt";
    std::ofstream(path) << "flame,2:0|255:2|255,2:0|rnd(128&255):2|64,1:0|0,2:0|255:2|0,"
                           "2:0|16:2|4,2:0|16:2|4,1:0|rnd(-20&20),1:0|rnd(40&80),1:0|seed,"
                           "flare,6,1,rnd(-3&3),0,1000,rnd(-4&4),0\n"
                           "smoke,1:0|96,1:0|96,1:0|96,3:0|0:0.5|rnd(60&120):3|0,"
                           "2:0|8:3|seed*40,2:0|8:3|seed*40,1:0|0,1:0|-15,1:0|0,puff,2,0,"
                           "rnd(0.5&1.5),0,1000,0,0\nEND\n";
    emitter.initialize();
    emitter.addEffect(path.string());
    std::filesystem::remove(path);
}

void fillTable() {
    while (emitter.getParticles() < Emitter::kSlots - 8) {
        emitter.spawnEffect(512, 384, "vastorim-bench-flame.txt");
    }
}

void spawnAndBake(benchmark::State& state) {
    seedRandom(1);
    loadTypicalEffect();
    long particles = 0;
    for (auto _ : state) {
        state.PauseTiming();
        if (emitter.getParticles() >= Emitter::kSlots - 8) {
            // Kill everything: the next spawns reuse the warmed-up slots from the bottom.
            for (std::int16_t i = 0; i < emitter.getParticles(); ++i) {
                emitter.getParticle(i)->killAt = -1;
            }
            emitter.update();
        }
        state.ResumeTiming();
        for (int i = 0; i < 64; ++i) {
            benchmark::DoNotOptimize(emitter.spawnEffect(512, 384, "vastorim-bench-flame.txt"));
        }
        particles += 64 * 8;
    }
    state.SetItemsProcessed(particles);
    emitter.initialize();
}
BENCHMARK(spawnAndBake);

void updateFullTable(benchmark::State& state) {
    seedRandom(1);
    loadTypicalEffect();
    fillTable();
    globals.frameTime = 0.016f;
    for (auto _ : state) {
        emitter.update();
    }
    state.counters["live"] = emitter.getParticles();
    emitter.initialize();
}
BENCHMARK(updateFullTable)->Unit(benchmark::kMillisecond);

} // namespace
