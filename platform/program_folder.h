#pragma once

#include <string>

namespace vastorim::platform {

// The folder of the running executable, without a trailing separator ("." when unknown).
std::string executableFolder();

} // namespace vastorim::platform
