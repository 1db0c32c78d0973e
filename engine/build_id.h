#pragma once

#include <string>

namespace vastorim {

// This build's name: its version, its compiler and a hash of the game's sources. Replays record
// it, and play only where it is the same.
std::string buildId();

} // namespace vastorim
