#pragma once

namespace vastorim {

// One menu frame: the item fading, the music clock, and the background scattered on each beat.
void updateMenu();

// The selected item dims to half opacity at 2 per second; every other line brightens back to
// full at 1 per second (a line held at 0 fades in over a second once released).
void fadeMenuItems();

// A key pressed while the menus are shown: Up and Down move the selection, Return or any
// player's fire key selects, Escape goes back or ends the program.
void menuKey(int keyCode);

} // namespace vastorim
