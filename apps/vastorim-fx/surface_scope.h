#pragma once

#include "engine/mod_dx8_init.h"
#include "platform/video.h"

namespace vastorim::fx {

// Opens the video as the engine's surface and closes it however the command ends.
class SurfaceScope {
  public:
    explicit SurfaceScope(platform::Video& video) { initDirect3D(video); }
    ~SurfaceScope() { shutdownDirect3D(); }
    SurfaceScope(const SurfaceScope&) = delete;
    SurfaceScope& operator=(const SurfaceScope&) = delete;
};

} // namespace vastorim::fx
