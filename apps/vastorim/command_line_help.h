#pragma once

#include <optional>
#include <string>
#include <vector>

namespace vastorim {

// What `vastorim --help` and `vastorim --version` print; nothing for any other command line,
// which keeps its meaning (the updater, then the game).
std::optional<std::string> commandLineHelp(const std::vector<std::string>& arguments);

} // namespace vastorim
