// Offscreen video: SDL's software renderer drawing into a memory surface. It needs neither a
// display nor SDL's video subsystem, so it runs in CI and over SSH. Pictures are sampled at the
// nearest texel.
#include "platform/platform_error.h"
#include "platform/renderer_video.h"

#include <SDL.h>

namespace vastorim::platform {

namespace {

class OffscreenVideo final : public RendererVideo {
  public:
    ~OffscreenVideo() override { close(); }

    void open() override {
        if (renderer_ != nullptr) {
            return;
        }
        surface_ = SDL_CreateRGBSurfaceWithFormat(0, surfaceWidth, surfaceHeight, 32,
                                                  SDL_PIXELFORMAT_ARGB8888);
        SDL_Renderer* renderer =
            surface_ != nullptr ? SDL_CreateSoftwareRenderer(surface_) : nullptr;
        if (renderer == nullptr) {
            std::string reason = SDL_GetError();
            close();
            throw PlatformError("cannot create the offscreen surface: " + reason);
        }
        attach(renderer, false);
    }

    void show() override {}

    void close() override {
        release();
        if (surface_ != nullptr) {
            SDL_FreeSurface(surface_);
            surface_ = nullptr;
        }
    }

    // Nothing to show: the switch is only remembered.
    void setFullScreen(bool fullScreen) override { fullScreen_ = fullScreen; }
    bool isFullScreen() const override { return fullScreen_; }
    void setIcon(const std::string&) override {}

    void present() override {}

  private:
    SDL_Surface* surface_ = nullptr;
    bool fullScreen_ = false;
};

} // namespace

std::unique_ptr<Video> createOffscreenVideo() {
    return std::make_unique<OffscreenVideo>();
}

} // namespace vastorim::platform
