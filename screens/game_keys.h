#pragma once

#include "engine/pad_keys.h"

namespace vastorim {

// Every key-down event of the game window, repeats of a held key included.
void onKeyDown(int keyCode);

// Every key-up event of the game window.
void onKeyUp(int keyCode);

// The keys a player's pad presses: in the menus the arrow keys, Return and Escape, as a player
// moves and selects there; in a game the player's bound keys (none for a player without a ship)
// and Escape on Start.
PadKeyCodes padKeysOf(int player);

// The window lost the focus: a game in progress pauses as Escape would pause it. Nothing is
// submitted, since the game still runs, and it resumes only when the player chooses to.
void onFocusLost();

// Escape during a game: the score is submitted, the held keys are released, and the game is
// suspended while it still runs or left once it is over.
void escapeFromGame();

} // namespace vastorim
