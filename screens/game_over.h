#pragma once

#include <cstdint>
#include <string>

namespace vastorim {

// The game-over display's own state (the place the final time took is the world's scorePlace).
struct GameOverState {
    float cursorBlink = 0; // blink phase of the name cursor, seconds, kept in 0..1
};

extern GameOverState gameOver;

void resetGameOver();

// The longest name the table takes.
inline constexpr std::size_t maxNameLength = 10;

// One key of the name entry applied to `name`: Backspace removes the last character, the digit
// keys 1..9 and the letters A..Z append themselves, Space appends a space, and the name is cut to
// ten characters. True when the key is Return and the name may be submitted: not empty and not
// the untouched default "player" (PLAYER is accepted).
bool editPlayerName(std::string& name, int keyCode);

// The name entry while the game is over: edits playerName and, on an accepted Return, submits the
// score and opens the high-score screen.
void enterNameKey(int keyCode);

// Hands playerName (upper-cased for good) and finalTime to the high-score service, then the
// game's replay; nothing while the game is offline or the name is empty, and nothing is sent
// while the game has no final time. A timed game's replay is cut here, online or not.
void submitScore();

} // namespace vastorim
