#pragma once

// Benchmarks that time the game from inside it: the real start-up on the headless platform, the
// work run in the first frame once everything is loaded, and then the end of the loop.
#include "engine/app_path.h"
#include "engine/random.h"
#include "engine/startup.h"
#include "platform/platform.h"
#include "screens/game_hooks.h"

#include <benchmark/benchmark.h>

#include <string>

namespace vastorim::benchmarks {

template <class Work>
void runInsideGame(benchmark::State& state, const std::string& programFolder, Work work) {
    setAppPath(programFolder);
    seedRandom(1);
    pinRandomSeed(true);
    platform::Platform platform = platform::createHeadlessPlatform(16);
    installGameHooks();
    hooks.afterFrame = [&] {
        hooks.afterFrame = nullptr;
        work();
        globals.gameRunning = false;
    };
    if (Main({"run"}, platform) != 0) {
        state.SkipWithError("the game did not start");
    }
    hooks = EngineHooks{};
}

} // namespace vastorim::benchmarks
