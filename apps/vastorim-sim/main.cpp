// vastorim-sim: the game's start-up and loop on the offscreen surface and a virtual clock.
#include "frame_driver.h"
#include "replay_pacer.h"
#include "sim_options.h"

#include "engine/app_path.h"
#include "engine/errors.h"
#include "engine/game_setup.h"
#include "engine/random.h"
#include "engine/renderer.h"
#include "engine/run_inputs.h"
#include "engine/startup.h"
#include "platform/clock.h"
#include "platform/events.h"
#include "platform/platform.h"
#include "platform/replaced_files.h"
#include "screens/game_hooks.h"
#include "screens/high_scores.h"
#include "sim/replay_verdict.h"

#include <chrono>
#include <filesystem>
#include <iostream>
#include <memory>
#include <optional>
#include <system_error>

int main(int argc, char** argv) {
    using namespace vastorim;
    sim::SimOptions options;
    try {
        options = sim::parseSimOptions(std::vector<std::string>(argv + 1, argv + argc));
    } catch (const sim::UsageError& error) {
        std::cerr << "vastorim-sim: " << error.what() << '\n' << sim::simUsage << '\n';
        return 2;
    }
    std::error_code error;
    std::filesystem::create_directories(options.outFolder, error);
    if (error) {
        std::cerr << "vastorim-sim: " << options.outFolder
                  << ": cannot create the folder: " << error.message() << '\n';
        return 1;
    }

    setAppPath(options.dataFolder);
    std::optional<Replay> replay;
    if (!options.replayFile.empty()) {
        try {
            replay = readReplayFile(options.replayFile);
        } catch (const ReplayError& refused) {
            std::cerr << "vastorim-sim: " << refused.what() << '\n';
            return 3;
        }
        options.frames = static_cast<long>(replay->frames.size());
        replayNextRun(*replay);
    } else {
        seedRandom(options.seed);
        pinRandomSeed(true);
    }
    std::unique_ptr<sim::PlayDriver> play;
    try {
        play = std::make_unique<sim::PlayDriver>(options);
    } catch (const DataError& error) {
        std::cerr << "vastorim-sim: " << error.what() << '\n';
        return 1;
    }
    platform::Platform platform = options.window
                                      ? platform::createRealPlatform(false)
                                      : platform::createHeadlessPlatform(options.frameMs);
    if (!options.window) {
        play->attach(static_cast<platform::ScriptedEvents&>(*platform.events));
    }
    installGameHooks();
    if (options.online) {
        // The start-up fetch follows the reading of the setup file: the switch is turned on there.
        hooks.fetchHighScores = [] {
            onlineEnabled = true;
            fetchHighScores();
        };
    }
    sim::FrameDriver driver(options, *play);
    driver.install();
    sim::ReplayPacer pacer(*platform.events);
    if (options.window) {
        pacer.install();
    }

    const auto started = std::chrono::steady_clock::now();
    int status = Main({"run"}, platform);
    const std::chrono::duration<double> seconds = std::chrono::steady_clock::now() - started;
    if (status != 0) {
        return status;
    }
    if (!options.recordFile.empty()) {
        std::string problem;
        if (!platform::replaceFile(options.recordFile, replayUpToNow(), platform::Flush::toDisk,
                                   problem)) {
            std::cerr << "vastorim-sim: " << options.recordFile << ": " << problem << '\n';
            return 1;
        }
    }
    if (options.verify) {
        std::cout << verdictLine(verdictOf(*replay, seconds.count())) << '\n';
        return 0;
    }
    std::cout << "vastorim-sim: " << driver.framesRun() << " frames, virtual time "
              << platform.clock->ticks() << " ms, " << drawCallsLastFrame()
              << " draw calls in the last frame\n";
    return 0;
}
