#include "platform/events.h"

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
