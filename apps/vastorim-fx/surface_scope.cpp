#include "surface_scope.h"

#include "engine/mod_dx8_init.h"
#include "engine/mod_game_load.h"
#include "engine/mod_res_textures.h"
#include "engine/platform_access.h"

namespace vastorim::fx {

namespace {

void withdraw() {
    shutdownDirect3D();
    setCurrentPlatform(nullptr);
}

} // namespace

SurfaceScope::SurfaceScope(platform::Platform& platform) {
    setCurrentPlatform(&platform);
    try {
        initDirect3D(*platform.video);
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
