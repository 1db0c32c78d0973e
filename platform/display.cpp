#include "platform/display.h"

#include <cstdlib>

namespace vastorim::platform {

bool displayAvailable() {
    return std::getenv("DISPLAY") != nullptr || std::getenv("WAYLAND_DISPLAY") != nullptr;
}

} // namespace vastorim::platform
