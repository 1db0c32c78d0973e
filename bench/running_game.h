#pragma once

// Benchmarks that time the game from inside it: the real start-up and loop on the headless
// platform, with the benchmark's work at the end of a frame.
#include "engine/app_path.h"
#include "engine/random.h"
#include "engine/run_inputs.h"
#include "engine/startup.h"
#include "platform/platform.h"
#include "screens/game_hooks.h"
#include "sim/demo_pilot.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>

namespace vastorim::benchmarks {

// Starts the game and calls afterFrame at the end of every frame, until it sets
// globals.gameRunning to false.
template <class AfterFrame>
void runGame(benchmark::State& state, const std::string& programFolder, AfterFrame afterFrame) {
    setAppPath(programFolder);
    seedRandom(1);
    pinRandomSeed(true);
    platform::Platform platform = platform::createHeadlessPlatform(16);
    installGameHooks();
    hooks.afterFrame = [&] { afterFrame(); };
    if (Main({"run"}, platform) != 0) {
        state.SkipWithError("the game did not start");
    }
    hooks = EngineHooks{};
}

// Runs the work inside the first frame, once everything is loaded, and then ends the game.
template <class Work>
void runInsideGame(benchmark::State& state, const std::string& programFolder, Work work) {
    runGame(state, programFolder, [&] {
        work();
        globals.gameRunning = false;
    });
}

// Hands the demo pilot's keys for this frame to the game, recorded as a player's would be.
inline void pressPilotKeys(DemoPilot& pilot, std::int64_t frame) {
    using Kind = ScriptEvent::Kind;
    for (const ScriptEvent& event : pilot.decide(frame)) {
        if (event.kind == Kind::KeyDown || event.kind == Kind::KeyUp) {
            handOverKey(event.kind == Kind::KeyDown, event.keyCode);
        }
    }
}

} // namespace vastorim::benchmarks
