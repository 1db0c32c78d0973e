#pragma once

#include <string>

namespace vastorim {

// Draws the menu screen that menuScreen selects: the main menu, the high scores, the
// instructions or the about screen. The sub-screens reveal a line per music pulse as they draw.
void drawMenu();

// The program's version as the about screen shows it: 1.10.26.
std::string programVersion();

// The about screen's first line: the product name, two spaces and the version.
std::string aboutTitle();

} // namespace vastorim
