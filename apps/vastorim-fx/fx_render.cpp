#include "fx_commands.h"

#include <stdexcept>

namespace vastorim::fx {

int renderCommand(const std::vector<std::string>&) {
    throw std::runtime_error(
        "render needs the offscreen video, which this build does not have yet");
}

int previewCommand(const std::vector<std::string>&) {
    throw std::runtime_error("preview needs the window video, which this build does not have yet");
}

} // namespace vastorim::fx
