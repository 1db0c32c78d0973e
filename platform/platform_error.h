#pragma once

#include <stdexcept>

namespace vastorim::platform {

// A platform call that failed: a window, a renderer, a picture file. what() says which and why.
class PlatformError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

} // namespace vastorim::platform
