#include "platform/display.h"

#include <SDL.h>

#include <cstdlib>

namespace vastorim::platform {

bool displayAvailable() {
    return std::getenv("DISPLAY") != nullptr || std::getenv("WAYLAND_DISPLAY") != nullptr;
}

std::string withoutWindow(const std::string& reason) {
    return reason + "; vastorim-sim and vastorim-fx render work without a window";
}

void nameProgramWindows() {
    SDL_setenv("SDL_VIDEO_X11_WMCLASS", "vastorim", 0);
    SDL_setenv("SDL_VIDEO_WAYLAND_WMCLASS", "vastorim", 0);
}

} // namespace vastorim::platform
