#pragma once

#include <string>
#include <string_view>

namespace vastorim {

// The program folder: the executable's folder for the game, --data DIR for the tools and the sim.
void setAppPath(std::string folder);

// The program folder + "/" + relative, with "\" in relative accepted as a separator.
std::string programFile(std::string_view relative);

} // namespace vastorim
