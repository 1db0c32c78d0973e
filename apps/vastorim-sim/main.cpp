// vastorim-sim: the game's start-up and loop on the offscreen surface and a virtual clock.
#include "frame_driver.h"
#include "sim_options.h"

#include "engine/app_path.h"
#include "engine/errors.h"
#include "engine/game_setup.h"
#include "engine/random.h"
#include "engine/renderer.h"
#include "engine/startup.h"
#include "platform/clock.h"
#include "platform/events.h"
#include "platform/platform.h"
#include "screens/game_hooks.h"
#include "screens/high_scores.h"

#include <filesystem>
#include <iostream>
#include <memory>
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
    if (!options.noRender) { // nothing is drawn, so no picture goes there
        std::filesystem::create_directories(options.outFolder, error);
    }
    if (error) {
        std::cerr << "vastorim-sim: " << options.outFolder
                  << ": cannot create the folder: " << error.message() << '\n';
        return 1;
    }

    setAppPath(options.dataFolder);
    seedRandom(options.seed);
    pinRandomSeed(true);
    std::unique_ptr<sim::PlayDriver> play;
    try {
        play = std::make_unique<sim::PlayDriver>(options);
    } catch (const DataError& error) {
        std::cerr << "vastorim-sim: " << error.what() << '\n';
        return 1;
    }
    platform::Platform platform = platform::createHeadlessPlatform(options.frameMs);
    play->attach(static_cast<platform::ScriptedEvents&>(*platform.events), *platform.clock);
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

    int status = Main({"run"}, platform);
    if (status != 0) {
        return status; // an old trace stays as it was
    }
    try {
        play->finish();
    } catch (const DataError& error) {
        std::cerr << "vastorim-sim: " << error.what() << '\n';
        return 1;
    }
    std::cout << "vastorim-sim: " << driver.framesRun() << " frames, virtual time "
              << platform.clock->ticks() << " ms, " << drawCallsLastFrame()
              << " draw calls in the last frame\n";
    return 0;
}
