#pragma once

#include <string>

namespace vastorim::platform {

// A TrueType face that comes with the system, for when the game's own is missing: a few
// well-known files first, then whatever fontconfig matches for "sans". Empty when none is found.
std::string findSystemFont();

} // namespace vastorim::platform
