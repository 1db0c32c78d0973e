#include "platform/events.h"

#include "platform/video.h"

#include <SDL.h>

namespace vastorim::platform {

namespace {

class WindowEvents final : public EventSource {
  public:
    void poll(std::vector<Event>& events) override {
        SDL_Event event;
        while (SDL_PollEvent(&event) != 0) {
            switch (event.type) {
            case SDL_KEYDOWN:
            case SDL_KEYUP:
                if (int code = virtualKeyCode(event.key.keysym.sym); code != 0) {
                    events.push_back(
                        {event.type == SDL_KEYDOWN ? Event::Type::KeyDown : Event::Type::KeyUp,
                         code});
                }
                break;
            case SDL_MOUSEBUTTONDOWN:
                // The renderer's event watch has already mapped the position through its
                // logical size (letterbox offset and scale), so it arrives in surface pixels;
                // mapping it again with SDL_RenderWindowToLogical would shift it a second time.
                if (event.button.x >= 0 && event.button.x < surfaceWidth && event.button.y >= 0 &&
                    event.button.y < surfaceHeight) {
                    events.push_back({Event::Type::Click, 0, event.button.x, event.button.y});
                }
                break;
            case SDL_QUIT:
                events.push_back({Event::Type::Close, 0});
                break;
            case SDL_WINDOWEVENT:
                if (event.window.event == SDL_WINDOWEVENT_CLOSE) {
                    events.push_back({Event::Type::Close, 0});
                }
                break;
            default:
                break;
            }
        }
    }
};

} // namespace

std::unique_ptr<EventSource> createWindowEvents() {
    return std::make_unique<WindowEvents>();
}

} // namespace vastorim::platform
