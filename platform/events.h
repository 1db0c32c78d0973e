#pragma once

#include <memory>
#include <vector>

namespace vastorim::platform {

// What the game window reports. Keys are Windows virtual-key codes (Return 13, Esc 27, space 32,
// arrows 37..40, digits 48..57, letters 65..90, ...); a held key repeats its key-down events.
// A click is a mouse button pressed over the surface, at x, y in surface pixels.
struct Event {
    enum class Type { KeyDown, KeyUp, Close, Click };
    Type type = Type::KeyDown;
    int keyCode = 0;
    int x = 0;
    int y = 0;

    bool operator==(const Event&) const = default;
};

class EventSource {
  public:
    virtual ~EventSource() = default;
    // Appends every pending event, oldest first, and forgets them.
    virtual void poll(std::vector<Event>& events) = 0;
};

// The window's events through SDL; keys without a virtual-key code are dropped, and so are
// clicks on the bars around a letterboxed surface.
std::unique_ptr<EventSource> createWindowEvents();

// Headless runs: the driver queues each frame's scripted events, and the next poll delivers them.
class ScriptedEvents final : public EventSource {
  public:
    void push(const Event& event) { queued_.push_back(event); }
    void poll(std::vector<Event>& events) override;

  private:
    std::vector<Event> queued_;
};

// The Windows virtual-key code of an SDL key code, or 0 for keys the game has no code for.
int virtualKeyCode(int sdlKeyCode);

} // namespace vastorim::platform
