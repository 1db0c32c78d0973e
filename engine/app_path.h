#pragma once

#include <string>
#include <string_view>

namespace vastorim {

// The program folder: the executable's folder for the game, --data DIR for the tools and the sim.
const std::string& appPath();
void setAppPath(std::string folder);

// appPath() + "/" + relative, with "\" in relative accepted as a separator.
std::string programFile(std::string_view relative);

} // namespace vastorim
