#pragma once

#include <array>

namespace vastorim {

// The menus' own state. menuScreen, menuCursor and screenStep are part of the global state.
struct MenuState {
    // Opacity 0..1 of menu line i: the main menu's items, the sub-screens' lines.
    std::array<float, 10> itemBrightness{1, 1, 1, 1, 1, 1, 1, 1, 1, 1};
};

extern MenuState menu;

void resetMenuState();

// Every menu line back to full opacity.
void resetMenuItems();

} // namespace vastorim
