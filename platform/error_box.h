#pragma once

#include <string>

namespace vastorim::platform {

// A modal message box titled "Vastorim" with one OK button; does nothing where no box can open.
void showErrorBox(const std::string& message);

} // namespace vastorim::platform
