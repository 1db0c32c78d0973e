// patch.dat: the launcher that the updater starts when it is done. It becomes the game, started
// with "run" from the launcher's own folder, so the updater does not run again.
#include "platform/process.h"
#include "platform/program_folder.h"

#include <iostream>

int main() {
    const std::string folder = vastorim::platform::executableFolder();
    std::cerr << "patch.dat: "
              << vastorim::platform::becomeProgram(folder + "/vastorim", {"run"}, folder) << '\n';
    return 1;
}
