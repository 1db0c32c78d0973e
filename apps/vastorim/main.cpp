#include "engine/app_path.h"
#include "engine/startup.h"
#include "platform/platform.h"
#include "platform/program_folder.h"
#include "screens/game_hooks.h"
#include "screens/game_replays.h"
#include "updater/updater.h"

#include <string>
#include <vector>

int main(int argc, char** argv) {
    vastorim::setAppPath(vastorim::platform::executableFolder());
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    // The updater comes first and needs none of the game's platform: no window, no sound.
    if (const std::string commandLine = vastorim::joinedCommandLine(arguments);
        vastorim::updaterRuns(commandLine)) {
        return vastorim::runUpdater(commandLine, vastorim::platformUpdaterServices());
    }
    vastorim::platform::Platform platform = vastorim::platform::createRealPlatform(false);
    vastorim::installGameHooks();
    vastorim::keepReplaysInFolder(true);
    return vastorim::Main(arguments, platform);
}
