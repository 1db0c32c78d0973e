#pragma once

#include <string>
#include <string_view>

namespace vastorim {

// The world in drawing order: shots, then asteroids, then ships (destroyed ships included: they
// are parked off screen).
void drawShots();
void drawAsteroids();
void drawShips();
void drawWorld();

// The survival clock in the lower left and, once the game is over, the centred game-over text
// and name line, cross-faded with the world. While the online table for the place is on its
// way, the final time shows with a waiting line instead.
void drawHud();
inline constexpr std::string_view waitingForTableText = "Checking the high scores...";

// The name line's cursor: "_" for the first half of each blink second, a space for the second
// half (so the centred name does not shift), nothing once the name is full.
std::string cursorText(const std::string& name, float blinkPhase);

} // namespace vastorim
