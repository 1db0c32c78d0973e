// Memory over a long game: the demo pilot plays game after game without drawing, and the heap in
// use is sampled every tenth of the run. The run's recording (the inputs a replay of it needs)
// grows by a few bytes a frame by design and is counted apart; everything else must stay level
// after the first tenth (content loaded, tables grown), and `growthPerTenthMB` shows any steady
// growth of it.
#include "engine/renderer.h"
#include "engine/run_inputs.h"
#include "engine/startup.h"
#include "running_game.h"

#include <benchmark/benchmark.h>

#include <malloc.h>

#include <algorithm>
#include <cstdint>
#include <vector>

namespace {

using namespace vastorim;

constexpr std::int64_t frames = 2160000; // nine and a half hours of 16 ms frames
constexpr std::int64_t samples = 10;
constexpr double megabyte = 1024.0 * 1024.0;

double heapInUseMb() {
    const struct mallinfo2 heap = mallinfo2();
    return static_cast<double>(heap.uordblks + heap.hblkhd) / megabyte;
}

void longDemoGame(benchmark::State& state) {
    for (auto _ : state) {
        std::vector<double> heap; // without the recording
        DemoPilot pilot;
        std::int64_t frame = 0;
        double recordingMb = 0;
        benchmarks::runGame(state, VASTORIM_PROGRAM_DIR, [&] {
            // Drawing ends after the first frame, as in a headless run without pictures.
            setCurrentVideo(nullptr);
            benchmarks::pressPilotKeys(pilot, frame);
            if (++frame % (frames / samples) == 0) {
                recordingMb = static_cast<double>(recordingBytes()) / megabyte;
                heap.push_back(heapInUseMb() - recordingMb);
            }
            globals.gameRunning = frame < frames;
        });
        state.counters["heapAfterFirstTenthMB"] = heap.front();
        state.counters["heapAtEndMB"] = heap.back();
        state.counters["heapPeakMB"] = *std::max_element(heap.begin(), heap.end());
        state.counters["growthPerTenthMB"] = (heap.back() - heap.front()) / (samples - 1);
        state.counters["recordingMB"] = recordingMb;
    }
}

BENCHMARK(longDemoGame)->Iterations(1)->Unit(benchmark::kSecond);

} // namespace
