#include "platform/error_box.h"

#include "platform/display.h"

#include <SDL.h>

namespace vastorim::platform {

void showErrorBox(const std::string& message) {
    if (!displayAvailable()) {
        return;
    }
    SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, "Vastorim", message.c_str(), nullptr);
}

} // namespace vastorim::platform
