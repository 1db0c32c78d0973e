// Memory over a long game: the demo pilot plays game after game without drawing, and the heap in
// use is sampled every tenth of the run. After the first tenth (content loaded, tables grown) it
// must stay level; `growthPerTenth` shows any steady growth.
#include "engine/renderer.h"
#include "engine/startup.h"
#include "running_game.h"

#include <benchmark/benchmark.h>

#include <malloc.h>

#include <algorithm>
#include <cstdint>
#include <vector>

namespace {

using namespace vastorim;

constexpr std::int64_t frames = 216000; // an hour at 60 frames a second
constexpr std::int64_t samples = 10;

double heapInUseMb() {
    const struct mallinfo2 heap = mallinfo2();
    return static_cast<double>(heap.uordblks + heap.hblkhd) / (1024.0 * 1024.0);
}

void longDemoGame(benchmark::State& state) {
    for (auto _ : state) {
        std::vector<double> heap;
        DemoPilot pilot;
        std::int64_t frame = 0;
        benchmarks::runGame(state, VASTORIM_PROGRAM_DIR, [&] {
            // Drawing ends after the first frame, as in a headless run without pictures.
            setCurrentVideo(nullptr);
            benchmarks::pressPilotKeys(pilot, frame);
            if (++frame % (frames / samples) == 0) {
                heap.push_back(heapInUseMb());
            }
            globals.gameRunning = frame < frames;
        });
        state.counters["heapAfterFirstTenthMB"] = heap.front();
        state.counters["heapAtEndMB"] = heap.back();
        state.counters["heapPeakMB"] = *std::max_element(heap.begin(), heap.end());
        state.counters["growthPerTenthMB"] = (heap.back() - heap.front()) / (samples - 1);
    }
}

BENCHMARK(longDemoGame)->Iterations(1)->Unit(benchmark::kSecond);

} // namespace
