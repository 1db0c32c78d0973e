#pragma once

namespace vastorim {

// Registers every picture that graphics/resource list.txt names, up to its "END" line (or the end
// of the file). A missing list, an empty line or a picture that cannot be loaded is a DataError
// naming the file.
void loadResourceList();

// Shows the game window, which start-up created hidden.
void showGameWindow();

} // namespace vastorim
