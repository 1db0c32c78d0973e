// Replays of five minutes of the demo pilot's play (16 ms frames, nothing drawn): the size of the
// replay file per minute of play, and the time that playing it back headless takes, which is
// what verifying a submitted game costs a server.
#include "engine/app_path.h"
#include "engine/random.h"
#include "engine/renderer.h"
#include "engine/run_inputs.h"
#include "engine/startup.h"
#include "platform/events.h"
#include "platform/platform.h"
#include "screens/game_hooks.h"
#include "sim/demo_pilot.h"

#include <benchmark/benchmark.h>

namespace {

using namespace vastorim;

constexpr int frameMs = 16;
constexpr long fiveMinutes = 5 * 60 * 1000 / frameMs;

// One headless run of fiveMinutes frames; `pilot` plays it when given, otherwise its replay does.
void runFiveMinutes(DemoPilot* pilot) {
    platform::Platform platform = platform::createHeadlessPlatform(frameMs);
    auto& events = static_cast<platform::ScriptedEvents&>(*platform.events);
    installGameHooks();
    long frame = 0;
    hooks.afterUpdate = [] { setCurrentVideo(nullptr); };
    hooks.afterFrame = [&] {
        if (pilot != nullptr) {
            for (const ScriptEvent& event : pilot->decide(frame)) {
                events.push({event.kind == ScriptEvent::Kind::KeyDown
                                 ? platform::Event::Type::KeyDown
                                 : platform::Event::Type::KeyUp,
                             event.keyCode});
            }
        }
        globals.gameRunning = ++frame < fiveMinutes;
    };
    Main({"run"}, platform);
    hooks = EngineHooks{};
}

std::string recordFiveMinutes() {
    setAppPath(VASTORIM_PROGRAM_DIR);
    seedRandom(1);
    pinRandomSeed(true);
    DemoPilot pilot;
    runFiveMinutes(&pilot);
    return replayUpToNow();
}

void replayOfFiveMinutes(benchmark::State& state) {
    const std::string file = recordFiveMinutes();
    const Replay replay = decodeReplay(file, currentReplayIdentity());
    for (auto _ : state) {
        replayNextRun(replay);
        runFiveMinutes(nullptr);
    }
    state.counters["KB per minute"] = static_cast<double>(file.size()) / 1024 / 5;
    state.counters["frames"] = static_cast<double>(replay.frames.size());
}

BENCHMARK(replayOfFiveMinutes)->Iterations(3)->Unit(benchmark::kMillisecond);

} // namespace
