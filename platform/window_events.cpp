// Window events: SDL's keyboard, mouse, window and game controller events, turned into the
// game's events. Pads go through SDL's game controller mapping, so any pad SDL knows reports its
// south button as A whatever its label.
#include "platform/events.h"

#include "platform/video.h"

#include <SDL.h>

#include <map>
#include <optional>
#include <span>
#include <utility>

namespace vastorim::platform {

namespace {

constexpr Uint64 pointerIdleMs = 2000;

// SDL's buttons and axes that the game reads, by SDL number.
using PadControls = std::span<const std::pair<int, PadControl>>;
constexpr std::pair<int, PadControl> padButtons[] = {
    {SDL_CONTROLLER_BUTTON_A, PadControl::A},
    {SDL_CONTROLLER_BUTTON_START, PadControl::Start},
    {SDL_CONTROLLER_BUTTON_DPAD_UP, PadControl::DpadUp},
    {SDL_CONTROLLER_BUTTON_DPAD_DOWN, PadControl::DpadDown},
    {SDL_CONTROLLER_BUTTON_DPAD_LEFT, PadControl::DpadLeft},
    {SDL_CONTROLLER_BUTTON_DPAD_RIGHT, PadControl::DpadRight},
};
constexpr std::pair<int, PadControl> padAxes[] = {
    {SDL_CONTROLLER_AXIS_LEFTX, PadControl::LeftStickX},
    {SDL_CONTROLLER_AXIS_LEFTY, PadControl::LeftStickY},
};

std::optional<PadControl> padControl(PadControls controls, int sdlNumber) {
    for (const auto& [number, control] : controls) {
        if (number == sdlNumber) {
            return control;
        }
    }
    return std::nullopt;
}

class WindowEvents final : public EventSource {
  public:
    // Pads are an extra: where SDL cannot watch for them, the keyboard still plays.
    WindowEvents() : padsWatched_(SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) == 0) {}

    ~WindowEvents() override {
        for (const auto& [id, pad] : pads_) {
            SDL_GameControllerClose(pad);
        }
        if (padsWatched_) {
            SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
        }
    }

    void poll(std::vector<Event>& events) override {
        SDL_Event event;
        while (SDL_PollEvent(&event) != 0) {
            translate(event, events);
        }
        if (pointerShown_ && SDL_GetTicks64() - lastPointerMove_ >= pointerIdleMs) {
            SDL_ShowCursor(SDL_DISABLE);
            pointerShown_ = false;
        }
    }

  private:
    void translate(const SDL_Event& event, std::vector<Event>& events) {
        switch (event.type) {
        case SDL_KEYDOWN:
        case SDL_KEYUP:
            if (int code = virtualKeyCode(event.key.keysym.sym); code != 0) {
                events.push_back(
                    {event.type == SDL_KEYDOWN ? Event::Type::KeyDown : Event::Type::KeyUp, code});
            }
            break;
        case SDL_MOUSEBUTTONDOWN:
            // The renderer's event watch has already mapped the position through its logical
            // size (letterbox offset and scale), so it arrives in surface pixels; mapping it
            // again with SDL_RenderWindowToLogical would shift it a second time.
            if (event.button.x >= 0 && event.button.x < surfaceWidth && event.button.y >= 0 &&
                event.button.y < surfaceHeight) {
                events.push_back({Event::Type::Click, 0, event.button.x, event.button.y});
            }
            break;
        case SDL_MOUSEMOTION:
            lastPointerMove_ = SDL_GetTicks64();
            if (!pointerShown_) {
                SDL_ShowCursor(SDL_ENABLE);
                pointerShown_ = true;
            }
            break;
        case SDL_QUIT:
            events.push_back({Event::Type::Close, 0});
            break;
        case SDL_WINDOWEVENT:
            if (event.window.event == SDL_WINDOWEVENT_CLOSE) {
                events.push_back({Event::Type::Close, 0});
            } else if (event.window.event == SDL_WINDOWEVENT_FOCUS_LOST) {
                events.push_back({Event::Type::FocusLost, 0});
            }
            break;
        case SDL_CONTROLLERDEVICEADDED:
            openPad(event.cdevice.which, events);
            break;
        case SDL_CONTROLLERDEVICEREMOVED:
            closePad(event.cdevice.which, events);
            break;
        case SDL_CONTROLLERBUTTONDOWN:
        case SDL_CONTROLLERBUTTONUP:
            reportPad(event.cbutton.which, padControl(padButtons, event.cbutton.button),
                      event.cbutton.state == SDL_PRESSED ? 1 : 0, events);
            break;
        case SDL_CONTROLLERAXISMOTION:
            reportPad(event.caxis.which, padControl(padAxes, event.caxis.axis), event.caxis.value,
                      events);
            break;
        default:
            break;
        }
    }

    // A control the game reads, on a pad it was told about.
    void reportPad(SDL_JoystickID id, std::optional<PadControl> control, int value,
                   std::vector<Event>& events) const {
        if (control && pads_.contains(id)) {
            events.push_back(
                {.type = Event::Type::PadChanged, .pad = id, .control = *control, .value = value});
        }
    }

    // SDL announces a pad by its device index, and may announce one twice.
    void openPad(int deviceIndex, std::vector<Event>& events) {
        SDL_GameController* pad = SDL_GameControllerOpen(deviceIndex);
        if (pad == nullptr) {
            return; // unplugged again already, or not usable: the game goes on without it
        }
        const SDL_JoystickID id = SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(pad));
        if (!pads_.emplace(id, pad).second) {
            SDL_GameControllerClose(pad); // opened twice: SDL counts the openings
            return;
        }
        events.push_back({.type = Event::Type::PadAdded, .pad = id});
    }

    void closePad(SDL_JoystickID id, std::vector<Event>& events) {
        const auto found = pads_.find(id);
        if (found == pads_.end()) {
            return;
        }
        SDL_GameControllerClose(found->second);
        pads_.erase(found);
        events.push_back({.type = Event::Type::PadRemoved, .pad = id});
    }

    bool padsWatched_;
    std::map<SDL_JoystickID, SDL_GameController*> pads_;
    bool pointerShown_ = true;
    Uint64 lastPointerMove_ = SDL_GetTicks64();
};

} // namespace

std::unique_ptr<EventSource> createWindowEvents() {
    return std::make_unique<WindowEvents>();
}

} // namespace vastorim::platform
