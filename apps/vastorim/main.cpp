#include "command_line_help.h"
#include "engine/app_path.h"
#include "engine/startup.h"
#include "platform/display.h"
#include "platform/platform.h"
#include "platform/program_folder.h"
#include "screens/game_hooks.h"
#include "screens/game_replays.h"
#include "updater/updater.h"

#include <iostream>
#include <optional>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    vastorim::setAppPath(vastorim::platform::executableFolder());
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    if (const std::optional<std::string> help = vastorim::commandLineHelp(arguments)) {
        std::cout << *help;
        return 0;
    }
    // The updater comes first and needs none of the game's platform: no window, no sound.
    if (const std::string commandLine = vastorim::joinedCommandLine(arguments);
        vastorim::updaterRuns(commandLine)) {
        return vastorim::runUpdater(commandLine, vastorim::platformUpdaterServices());
    }
    // Said before the sound device opens, so that it is the one thing said.
    if (!vastorim::platform::displayAvailable()) {
        std::cerr << "vastorim: "
                  << vastorim::platform::withoutWindow(vastorim::platform::noDisplay) << '\n';
        return 1;
    }
    vastorim::platform::Platform platform = vastorim::platform::createRealPlatform(false);
    vastorim::installGameHooks();
    vastorim::keepReplaysInFolder(true);
    return vastorim::Main(arguments, platform);
}
