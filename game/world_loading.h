#pragma once

namespace vastorim {

// Seeds the generator from the clock, sets the fade to 1, empties the emitter and loads every
// effect named in effects/effect list.txt (up to its "END" line, or the end of the file).
// A missing or malformed file is a DataError naming it.
void loadEffectList();

// Re-creates the ships from the setup file's player count and key bindings, each with a fresh
// particle from "player.txt" at a random point of the middle of the field, a random heading,
// full health and weapon 1 only. Held keys and the exhaust timer of existing ships survive.
void loadPlayers();

// Empty the asteroid and pickup lists, and the shot list. Older slots keep their contents and
// are overwritten as they are allocated again.
void clearAsteroidsAndPickups();
void clearProjectiles();

} // namespace vastorim
