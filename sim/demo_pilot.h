#pragma once

#include "sim/key_script.h"

#include <array>
#include <cstdint>
#include <vector>

namespace vastorim {

// A built-in player for ship 0 that uses the keyboard as a person would: it presses and releases
// the ship's bound keys. From the menu it starts a game; in play it holds fire, turns towards an
// asteroid it locks on to, flees asteroids on a collision course, flies over pickups and brakes
// when it drifts too fast; after game over it waits for the fade and returns to the menu.
class DemoPilot {
  public:
    // The key events to deliver before frame `frame`, decided from the state the previous frame
    // left. Deterministic: the same states give the same events.
    std::vector<ScriptEvent> decide(std::int64_t frame);

  private:
    enum Action { Up, Left, Right, Fire, ActionCount };

    void pressOnce(std::vector<ScriptEvent>& events, std::int64_t frame, int keyCode);
    void holdOnly(std::vector<ScriptEvent>& events, std::int64_t frame,
                  const std::array<bool, ActionCount>& wanted);
    std::array<bool, ActionCount> steer();

    std::array<int, ActionCount> heldCodes{}; // the key code held for each action, 0 when none
    int pendingRelease = 0;                   // a menu key pressed last frame
    std::int64_t nextMenuFrame = 0;
    int lockedTarget = -1; // asteroid slot being shot at, -1 when none
};

} // namespace vastorim
