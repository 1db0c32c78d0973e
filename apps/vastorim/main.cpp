#include "engine/app_path.h"
#include "engine/startup.h"
#include "platform/platform.h"
#include "platform/program_folder.h"
#include "screens/game_hooks.h"

#include <string>
#include <vector>

int main(int argc, char** argv) {
    vastorim::setAppPath(vastorim::platform::executableFolder());
    vastorim::platform::Platform platform = vastorim::platform::createRealPlatform(false);
    vastorim::installGameHooks();
    return vastorim::Main(std::vector<std::string>(argv + 1, argv + argc), platform);
}
