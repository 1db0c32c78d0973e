#include "platform/program_folder.h"

#include <SDL.h>

namespace vastorim::platform {

std::string executableFolder() {
    char* base = SDL_GetBasePath();
    if (base == nullptr) {
        return ".";
    }
    std::string folder = base;
    SDL_free(base);
    while (folder.size() > 1 && folder.back() == '/') {
        folder.pop_back();
    }
    return folder;
}

} // namespace vastorim::platform
