#include "screens/mod_menu_globals.h"

namespace vastorim {

MenuState menu;

void resetMenuState() {
    menu = MenuState{};
}

} // namespace vastorim
