#pragma once

#include <optional>
#include <string>

namespace vastorim::platform {

// A modal question with the information icon and the buttons Yes (Return) and No (Escape).
// True for Yes; nothing when there is no display to show it on, or it cannot open.
std::optional<bool> askYesNo(const std::string& title, const std::string& text);

} // namespace vastorim::platform
