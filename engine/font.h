#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace vastorim {

// The one typeface of the game's text, drawn through the current platform's text renderer in
// the frame's order with the sprites. Without a platform nothing is drawn.

// Registers the face file for the game font and returns the number of faces added (0 when the
// file is missing or no font; a system face then stands in).
int installFont(const std::string& path);

// The 24-point game font; playerName becomes "player".
void createGameFont();

// The size later drawText calls use; fonts and drawn strings are kept per size.
void setGameFontSize(int points);

// Draws text (CR LF starts a line) into the rectangle from its top: format 0 left, 1 centred,
// 2 right. The colour is packed ARGB; its alpha is honoured.
void drawText(std::string_view text, int left, int top, int right, int bottom, int format,
              std::uint32_t argb);

// A * 2^24 + R * 2^16 + G * 2^8 + B, each part clamped to 0..255.
std::uint32_t packColour(int a, int r, int g, int b);

} // namespace vastorim
