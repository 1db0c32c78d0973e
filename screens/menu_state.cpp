#include "screens/menu_state.h"

namespace vastorim {

MenuState menu;

void resetMenuState() {
    menu = MenuState{};
}

void resetMenuItems() {
    menu.itemBrightness.fill(1.0f);
}

} // namespace vastorim
