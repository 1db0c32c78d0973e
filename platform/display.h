#pragma once

#include <string>

namespace vastorim::platform {

// Whether the environment names a display (X11 or Wayland) that windows and boxes can open on.
bool displayAvailable();

inline constexpr const char* noDisplay = "no display (DISPLAY and WAYLAND_DISPLAY are unset)";

// The reason a window cannot be shown, with where to turn instead.
std::string withoutWindow(const std::string& reason);

// Gives the program's windows, the game's and the updater's, the class (X11) and app id (Wayland)
// "vastorim", by which desktops group them and find the program's desktop entry. SDL reads them
// when its video starts, so this comes before; a value set by the user stays.
void nameProgramWindows();

} // namespace vastorim::platform
