#include "engine/mod_dx8_init.h"

#include "engine/mod_dx8_render.h"
#include "platform/video.h"

namespace vastorim {

void initDirect3D(platform::Video& video) {
    video.open();
    setCurrentVideo(&video);
}

void shutdownDirect3D() {
    platform::Video* video = currentVideo();
    setCurrentVideo(nullptr);
    if (video != nullptr) {
        video->close();
    }
}

} // namespace vastorim
