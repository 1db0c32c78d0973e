#include "surface_scope.h"

#include "engine/platform_access.h"
#include "engine/renderer.h"
#include "engine/textures.h"

namespace vastorim::fx {

namespace {

void withdraw() {
    shutdownRenderer();
    setCurrentPlatform(nullptr);
}

} // namespace

SurfaceScope::SurfaceScope(platform::Platform& platform) {
    setCurrentPlatform(&platform);
    try {
        initRenderer(*platform.video);
        resetTextureList();
        loadResourceList();
    } catch (...) {
        withdraw();
        throw;
    }
}

SurfaceScope::~SurfaceScope() {
    withdraw();
}

} // namespace vastorim::fx
