#include "platform/sdl_video_internal.h"

#include "platform/renderer_video.h"

namespace vastorim::platform {

SDL_Renderer* drawingRendererOf(Video& video) {
    auto* drawn = dynamic_cast<RendererVideo*>(&video);
    if (drawn == nullptr || drawn->renderer_ == nullptr) {
        return nullptr;
    }
    return drawn->drawingRenderer();
}

} // namespace vastorim::platform
