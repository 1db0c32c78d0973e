// What verifying a replay costs the server: vastorim-sim of this build plays a demo-pilot game of
// one and of five minutes again headless, as the server's workers do (a child process, its
// report and the picture of the last frame), without drawing anything but that last frame.
// The figure is the wall-clock time per minute of play.
#include "server/child_process.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <unistd.h>

namespace {

using namespace vastorim;

constexpr int kFramesPerMinute = 60 * 1000 / 16; // the sim's default frame of 16 ms
constexpr const char* kSim = VASTORIM_PROGRAM_DIR "/vastorim-sim";

const std::filesystem::path& scratch() {
    static const std::filesystem::path folder =
        std::filesystem::temp_directory_path() /
        ("vastorim-replay-bench-" + std::to_string(getpid()));
    return folder;
}

std::string recordedReplay(int minutes) {
    std::filesystem::create_directories(scratch());
    const std::string file = (scratch() / (std::to_string(minutes) + ".replay")).string();
    const std::atomic<bool> never{false};
    const server::ChildOutcome recording =
        server::runChild(kSim,
                         {"--data", VASTORIM_PROGRAM_DIR, "--demo", "--no-render", "--seed", "1",
                          "--frames", std::to_string(minutes * kFramesPerMinute), "--record", file},
                         std::chrono::minutes(10), never);
    if (recording.exitStatus != 0) {
        throw std::runtime_error("recording failed: " + recording.err);
    }
    return file;
}

void verification(benchmark::State& state) {
    const int minutes = static_cast<int>(state.range(0));
    const std::string replay = recordedReplay(minutes);
    const std::string picture = (scratch() / "last.png").string();
    const std::atomic<bool> never{false};
    for (auto _ : state) {
        const server::ChildOutcome run =
            server::runChild(kSim,
                             {"--data", VASTORIM_PROGRAM_DIR, "--replay", replay, "--verify",
                              "--final-picture", picture},
                             std::chrono::minutes(10), never);
        if (run.exitStatus != 0) {
            state.SkipWithError(("the replay did not play: " + run.err).c_str());
            break;
        }
    }
    state.counters["s per minute of play"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * minutes,
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    std::filesystem::remove_all(scratch());
}

BENCHMARK(verification)->Arg(1)->Arg(5)->Unit(benchmark::kSecond)->UseRealTime()->Iterations(3);

} // namespace
