// The updater's window on SDL's software renderer, either in a borderless window (dragged by its
// strip through SDL's hit test, which hands the drag to the window manager) or on a memory
// surface. The label is rasterised by SDL2_ttf.
#include "platform/display.h"
#include "platform/system_font.h"
#include "platform/update_window.h"

#include <SDL.h>
#include <SDL_ttf.h>

#include <algorithm>

namespace vastorim::platform {
namespace {

SDL_Color colourOf(std::uint32_t rgb) {
    return {static_cast<Uint8>(rgb >> 16), static_cast<Uint8>(rgb >> 8), static_cast<Uint8>(rgb),
            255};
}

SDL_HitTestResult hitTest(SDL_Window*, const SDL_Point* point, void* strip) {
    const auto& box = *static_cast<const WindowBox*>(strip);
    const SDL_Rect area{box.left, box.top, box.width, box.height};
    return SDL_PointInRect(point, &area) ? SDL_HITTEST_DRAGGABLE : SDL_HITTEST_NORMAL;
}

class SdlUpdateWindow final : public UpdateWindow {
  public:
    explicit SdlUpdateWindow(UpdateWindowLook look) : look_(std::move(look)) {
        if (TTF_Init() == 0) {
            fontStarted_ = true;
            font_ = TTF_OpenFont(look_.fontPath.c_str(), look_.fontPixels);
            if (font_ == nullptr) {
                font_ = TTF_OpenFont(findSystemFont().c_str(), look_.fontPixels);
            }
        }
    }
    ~SdlUpdateWindow() override {
        if (renderer_ != nullptr) {
            SDL_DestroyRenderer(renderer_);
        }
        if (surface_ != nullptr) {
            SDL_FreeSurface(surface_);
        }
        if (window_ != nullptr) {
            SDL_DestroyWindow(window_);
            SDL_QuitSubSystem(SDL_INIT_VIDEO);
        }
        if (font_ != nullptr) {
            TTF_CloseFont(font_);
        }
        if (fontStarted_) {
            TTF_Quit();
        }
    }
    SdlUpdateWindow(const SdlUpdateWindow&) = delete;
    SdlUpdateWindow& operator=(const SdlUpdateWindow&) = delete;

    bool openOnDisplay(std::string& problem) {
        if (!displayAvailable()) {
            problem = "no display";
            return false;
        }
        nameProgramWindows();
        if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
            problem = SDL_GetError();
            return false;
        }
        window_ =
            SDL_CreateWindow(look_.caption.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                             look_.width, look_.height, SDL_WINDOW_BORDERLESS | SDL_WINDOW_HIDDEN);
        if (window_ == nullptr) {
            problem = SDL_GetError();
            SDL_QuitSubSystem(SDL_INIT_VIDEO);
            return false;
        }
        SDL_SetWindowHitTest(window_, hitTest, &look_.dragStrip);
        renderer_ = SDL_CreateRenderer(window_, -1, SDL_RENDERER_SOFTWARE);
        if (renderer_ == nullptr) {
            problem = SDL_GetError();
        }
        return renderer_ != nullptr;
    }

    bool openOffscreen() {
        surface_ = SDL_CreateRGBSurfaceWithFormat(0, look_.width, look_.height, 32,
                                                  SDL_PIXELFORMAT_ARGB8888);
        renderer_ = surface_ != nullptr ? SDL_CreateSoftwareRenderer(surface_) : nullptr;
        return renderer_ != nullptr;
    }

    void paint(const std::vector<WindowBox>& boxes, const WindowBox& label,
               const std::string& text) override {
        fill({0, 0, look_.width, look_.height, look_.background});
        for (const WindowBox& box : boxes) {
            fill(box);
        }
        drawText(label, text);
        SDL_RenderPresent(renderer_);
        if (window_ != nullptr) {
            SDL_ShowWindow(window_);
        }
    }

    void handleEvents() override {
        SDL_Event event;
        while (SDL_PollEvent(&event) != 0) {
            if (event.type == SDL_WINDOWEVENT && event.window.event == SDL_WINDOWEVENT_EXPOSED &&
                window_ != nullptr) {
                SDL_RenderPresent(renderer_);
            }
        }
    }

    Picture picture() override {
        Picture picture{look_.width, look_.height,
                        std::vector<std::uint32_t>(static_cast<std::size_t>(look_.width) *
                                                   static_cast<std::size_t>(look_.height))};
        SDL_RenderReadPixels(renderer_, nullptr, SDL_PIXELFORMAT_ARGB8888, picture.pixels.data(),
                             look_.width * 4);
        return picture;
    }

  private:
    void fill(const WindowBox& box) {
        if (box.width <= 0 || box.height <= 0) {
            return; // SDL would still fill a column or a row
        }
        const SDL_Color colour = colourOf(box.rgb);
        SDL_SetRenderDrawColor(renderer_, colour.r, colour.g, colour.b, 255);
        const SDL_Rect area{box.left, box.top, box.width, box.height};
        SDL_RenderFillRect(renderer_, &area);
    }

    void drawText(const WindowBox& box, const std::string& text) {
        if (font_ == nullptr || text.empty()) {
            return;
        }
        SDL_Surface* lines = TTF_RenderUTF8_Blended(font_, text.c_str(), colourOf(box.rgb));
        SDL_Texture* texture =
            lines != nullptr ? SDL_CreateTextureFromSurface(renderer_, lines) : nullptr;
        if (texture != nullptr) {
            const SDL_Rect source{0, 0, std::min(lines->w, box.width),
                                  std::min(lines->h, box.height)};
            const SDL_Rect target{box.left, box.top, source.w, source.h};
            SDL_RenderCopy(renderer_, texture, &source, &target);
            SDL_DestroyTexture(texture);
        }
        SDL_FreeSurface(lines);
    }

    UpdateWindowLook look_;
    SDL_Window* window_ = nullptr;
    SDL_Surface* surface_ = nullptr;
    SDL_Renderer* renderer_ = nullptr;
    TTF_Font* font_ = nullptr;
    bool fontStarted_ = false;
};

} // namespace

std::unique_ptr<UpdateWindow> openUpdateWindow(const UpdateWindowLook& look, std::string& problem) {
    auto window = std::make_unique<SdlUpdateWindow>(look);
    if (!window->openOnDisplay(problem)) {
        return nullptr;
    }
    return window;
}

std::unique_ptr<UpdateWindow> createOffscreenUpdateWindow(const UpdateWindowLook& look) {
    auto window = std::make_unique<SdlUpdateWindow>(look);
    if (!window->openOffscreen()) {
        return nullptr;
    }
    return window;
}

} // namespace vastorim::platform
