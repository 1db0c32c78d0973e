// Window video: a resizable SDL window, titled "Vastorim" for the game. Frames are drawn into a
// 1024 x 768 target texture and copied into the window at present, letterboxed by the renderer's
// logical size, so resizing and full screen never change what the game draws on.
//
// Desktop full screen is the window manager's job. Where none takes it on (a bare X server, a
// kiosk), SDL still takes the window for the size of the desktop while it keeps its old size on
// screen, and the picture comes out scaled for a screen the window does not cover and cut off.
// So the window is first placed over the whole display itself, and given back its place and size
// when it leaves full screen.
#include "platform/display.h"
#include "platform/platform_error.h"
#include "platform/renderer_video.h"

#include <SDL.h>
#include <SDL_image.h>

#include <string>
#include <utility>

namespace vastorim::platform {

namespace {

// The window's top-left corner sits 1000 twips (1000/1440 inch at 96 dots per inch) from the
// screen's top-left corner.
constexpr int windowOffset = 67;

class WindowVideo final : public RendererVideo {
  public:
    WindowVideo(bool fullScreen, std::string title)
        : fullScreen_(fullScreen), title_(std::move(title)) {}
    ~WindowVideo() override { close(); }

    void open() override {
        if (window_ != nullptr) {
            return;
        }
        // Without a display SDL falls back to drivers that show nothing, and a game nobody can
        // see runs for ever: better to say so and stop.
        if (!displayAvailable()) {
            throw PlatformError(withoutWindow(noDisplay));
        }
        nameProgramWindows();
        if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
            throw PlatformError(
                withoutWindow(std::string("cannot start the video: ") + SDL_GetError()));
        }
        videoStarted_ = true;
        if (const std::string driver = SDL_GetCurrentVideoDriver();
            driver == "offscreen" || driver == "dummy") {
            close();
            throw PlatformError(
                withoutWindow("the video driver \"" + driver + "\" shows no window"));
        }
        Uint32 flags = SDL_WINDOW_HIDDEN | SDL_WINDOW_RESIZABLE;
        SDL_Rect place = windowed_;
        SDL_Rect display;
        if (fullScreen_) {
            flags |= SDL_WINDOW_FULLSCREEN_DESKTOP;
            place = SDL_GetDisplayBounds(0, &display) == 0 ? display : place;
        }
        window_ = SDL_CreateWindow(title_.c_str(), place.x, place.y, place.w, place.h, flags);
        if (window_ == nullptr) {
            fail("cannot create the window: ");
        }
        SDL_Renderer* renderer = SDL_CreateRenderer(
            window_, -1,
            SDL_RENDERER_ACCELERATED | SDL_RENDERER_PRESENTVSYNC | SDL_RENDERER_TARGETTEXTURE);
        if (renderer == nullptr) {
            renderer =
                SDL_CreateRenderer(window_, -1, SDL_RENDERER_SOFTWARE | SDL_RENDERER_TARGETTEXTURE);
        }
        if (renderer == nullptr) {
            fail("cannot create a renderer: ");
        }
        SDL_RenderSetLogicalSize(renderer, surfaceWidth, surfaceHeight);
        try {
            attach(renderer, true);
        } catch (const PlatformError&) {
            close();
            throw;
        }
    }

    void show() override {
        if (window_ != nullptr) {
            SDL_ShowWindow(window_);
            SDL_RaiseWindow(window_);
        }
    }

    void close() override {
        release();
        if (window_ != nullptr) {
            SDL_DestroyWindow(window_);
            window_ = nullptr;
        }
        if (videoStarted_) {
            SDL_QuitSubSystem(SDL_INIT_VIDEO);
            videoStarted_ = false;
        }
    }

    void setFullScreen(bool fullScreen) override {
        if (window_ == nullptr || fullScreen == fullScreen_) {
            fullScreen_ = fullScreen;
            return;
        }
        fullScreen_ = fullScreen;
        // The window's size handling must find the renderer on the window, not on the surface.
        SDL_SetRenderTarget(renderer_, nullptr);
        if (fullScreen) {
            SDL_GetWindowPosition(window_, &windowed_.x, &windowed_.y);
            SDL_GetWindowSize(window_, &windowed_.w, &windowed_.h);
            SDL_Rect display;
            if (SDL_GetDisplayBounds(SDL_GetWindowDisplayIndex(window_), &display) == 0) {
                SDL_SetWindowPosition(window_, display.x, display.y);
                SDL_SetWindowSize(window_, display.w, display.h);
            }
            SDL_SetWindowFullscreen(window_, SDL_WINDOW_FULLSCREEN_DESKTOP);
        } else {
            SDL_SetWindowFullscreen(window_, 0);
            SDL_SetWindowSize(window_, windowed_.w, windowed_.h);
            SDL_SetWindowPosition(window_, windowed_.x, windowed_.y);
        }
    }

    bool isFullScreen() const override { return fullScreen_; }

    void setIcon(const std::string& path) override {
        if (window_ == nullptr) {
            return;
        }
        if (SDL_Surface* icon = IMG_Load(path.c_str())) {
            SDL_SetWindowIcon(window_, icon);
            SDL_FreeSurface(icon);
        }
    }

    void present() override {
        if (renderer_ == nullptr) {
            return;
        }
        SDL_SetRenderTarget(renderer_, nullptr);
        SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
        SDL_RenderClear(renderer_);
        SDL_RenderCopy(renderer_, frame_, nullptr, nullptr);
        SDL_RenderPresent(renderer_);
    }

  private:
    [[noreturn]] void fail(const char* what) {
        std::string reason = withoutWindow(what + std::string(SDL_GetError()));
        close();
        throw PlatformError(reason);
    }

    bool fullScreen_;
    std::string title_;
    SDL_Rect windowed_{windowOffset, windowOffset, surfaceWidth, surfaceHeight};
    bool videoStarted_ = false;
    SDL_Window* window_ = nullptr;
};

} // namespace

std::unique_ptr<Video> createWindowVideo(bool fullScreen, const std::string& title) {
    return std::make_unique<WindowVideo>(fullScreen, title);
}

} // namespace vastorim::platform
