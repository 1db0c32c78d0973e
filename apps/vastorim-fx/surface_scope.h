#pragma once

#include "platform/platform.h"

namespace vastorim::fx {

// Makes the platform the engine's and opens its video as the engine's surface with the data's
// textures listed; withdraws both however the command ends.
class SurfaceScope {
  public:
    explicit SurfaceScope(platform::Platform& platform);
    ~SurfaceScope();
    SurfaceScope(const SurfaceScope&) = delete;
    SurfaceScope& operator=(const SurfaceScope&) = delete;
};

} // namespace vastorim::fx
