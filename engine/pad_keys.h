#pragma once

#include "platform/events.h"

#include <functional>
#include <vector>

namespace vastorim {

// The key each pad control presses for one player at this moment; 0 presses nothing.
struct PadKeyCodes {
    int left = 0;
    int right = 0;
    int up = 0;
    int down = 0;
    int fire = 0;  // button A
    int start = 0; // the Start button
};

struct KeyEvent {
    bool down = true;
    int keyCode = 0;

    bool operator==(const KeyEvent&) const = default;
};

// A left stick's deflection turns a direction on beyond stickPressed and off again only once it
// is back within stickReleased, so a stick resting near the middle, or trembling at the edge of
// the dead zone, presses nothing.
inline constexpr int stickPressed = 16000;
inline constexpr int stickReleased = 8000;

// Turns pad events into key events. A connected pad is given to the lowest-numbered player
// (0 first) that no other connected pad holds, so pads go to players in the order they are
// connected and a pad plugged in again takes the place it left. A direction is held while its
// d-pad button or the stick holds it; its key goes down when it starts being held, with the key
// keysOf(player) names then, and that same key goes up when it stops, so a pad never repeats and
// never leaves a key down. A pad removed releases its keys.
void translatePadEvent(const platform::Event& event,
                       const std::function<PadKeyCodes(int player)>& keysOf,
                       std::vector<KeyEvent>& keys);

// Forgets every pad (start-up state).
void resetPadKeys();

} // namespace vastorim
