#pragma once

namespace vastorim::platform {

// Whether the environment names a display (X11 or Wayland) that windows and boxes can open on.
bool displayAvailable();

} // namespace vastorim::platform
