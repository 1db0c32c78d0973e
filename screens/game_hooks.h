#pragma once

namespace vastorim {

// Plugs the game into the engine: the per-frame updates and drawing by mode, the emitter, the
// keys, the content loading, the menu items, the music waves and the online table. The game and
// every headless run call it before Main.
void installGameHooks();

// One playing frame's updates, in their order: music clock and tempo, weapons, asteroids, ships
// and game state, pickups.
void updatePlayingFrame();

// The screens' own state back to start-up: menu items, game-over display, high-score table.
void resetScreens();

} // namespace vastorim
