#pragma once

#include <memory>
#include <vector>

namespace vastorim::platform {

// The controls of a game pad that the game reads; its other buttons and sticks are ignored.
enum class PadControl { A, Start, DpadUp, DpadDown, DpadLeft, DpadRight, LeftStickX, LeftStickY };

// The largest deflection of a stick axis; values run from -stickRange - 1 to stickRange.
inline constexpr int stickRange = 32767;

// What the game window reports. Keys are Windows virtual-key codes (Return 13, Esc 27, space 32,
// arrows 37..40, digits 48..57, letters 65..90, F1..F12 112..123, ...); a held key repeats its
// key-down events. A click is a mouse button pressed over the surface, at x, y in surface pixels.
// Pads are told apart by an id that stays the same while the pad is connected; PadChanged gives
// a control's new value: 0 or 1 for a button, a stick axis from left or up (negative) to right
// or down (positive). A pad reports no repeats.
struct Event {
    enum class Type { KeyDown, KeyUp, Close, Click, FocusLost, PadAdded, PadRemoved, PadChanged };
    Type type = Type::KeyDown;
    int keyCode = 0;
    int x = 0;
    int y = 0;
    int pad = 0;
    PadControl control = PadControl::A;
    int value = 0;

    bool operator==(const Event&) const = default;
};

class EventSource {
  public:
    virtual ~EventSource() = default;
    // Appends every pending event, oldest first, and forgets them.
    virtual void poll(std::vector<Event>& events) = 0;
};

// The window's events and the game pads through SDL; keys without a virtual-key code are
// dropped, and so are clicks on the bars around a letterboxed surface. Pads connected before or
// while the game runs are opened and reported; a system without pad support reports none. The
// mouse pointer hides after two seconds without movement over the window.
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
