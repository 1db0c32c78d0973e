#include "screens/mod_menu_load.h"

#include "screens/mod_menu_globals.h"

namespace vastorim {

void resetMenuItems() {
    menu.itemBrightness.fill(1.0f);
}

} // namespace vastorim
