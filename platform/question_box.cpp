#include "platform/question_box.h"

#include "platform/display.h"

#include <SDL.h>

namespace vastorim::platform {

std::optional<bool> askYesNo(const std::string& title, const std::string& text) {
    if (!displayAvailable()) {
        return std::nullopt;
    }
    enum : int { no, yes };
    const SDL_MessageBoxButtonData buttons[] = {
        {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, yes, "Yes"},
        {SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, no, "No"},
    };
    const SDL_MessageBoxData box = {SDL_MESSAGEBOX_INFORMATION |
                                        SDL_MESSAGEBOX_BUTTONS_LEFT_TO_RIGHT,
                                    nullptr,
                                    title.c_str(),
                                    text.c_str(),
                                    SDL_arraysize(buttons),
                                    buttons,
                                    nullptr};
    int answer = no; // closing the box answers No
    if (SDL_ShowMessageBox(&box, &answer) != 0) {
        return std::nullopt;
    }
    return answer == yes;
}

} // namespace vastorim::platform
