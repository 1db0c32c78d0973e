#pragma once

namespace vastorim {

// Every key-down event of the game window, repeats of a held key included.
void onKeyDown(int keyCode);

// Every key-up event of the game window.
void onKeyUp(int keyCode);

// Escape during a game: the score is submitted, the held keys are released, and the game is
// suspended while it still runs or left once it is over.
void escapeFromGame();

} // namespace vastorim
