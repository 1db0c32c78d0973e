#pragma once

#include <cstdint>
#include <string>

namespace vastorim {

// The world's operations. A playing frame runs, after the music clock and tempo:
// fireWeapons, updateAsteroids, updateWorld, expirePickups.

// --- the game (world.cpp) ---
// Background glow on every fourth beat, every ship's frame, the game-over test and the fade.
void updateWorld();
// What the game clock shows: the final time once the game is over, else the time played so far.
std::int32_t elapsedGameTime();
// Freezes the clock at the final time and has it placed (world.placeFinalTime, online only).
void endGame();
// A new game from the menu: clock, tables, players, two asteroids, music.
void startGame();
// Escape while playing (globalFade exactly 1): back to the menu with the game suspended.
void pauseGame();
// Escape while the screen fades after game over: back to the menu, nothing to resume.
void leaveGame();
// Escape in play, after the caller has submitted the score: pauseGame or leaveGame by the fade.
void suspendOrLeaveGame();
// The menu's first entry while a game is suspended: the paused time is not counted.
void resumeGame();

// --- ships (ship.cpp) ---
void updateShip(std::int16_t i);
void confineShip(std::int16_t i);

// --- asteroids (asteroids.cpp) ---
// parent -1: a new asteroid entering from an edge; otherwise a fragment of that slot.
void spawnAsteroid(std::int16_t parent, const std::string& effectName);
void updateAsteroids();
void updateAsteroid(std::int16_t k);
void confineAsteroid(std::int16_t k);
void breakAsteroid(std::int16_t k);
void splitAsteroid(std::int16_t k);

// --- weapons (weapons.cpp) ---
void fireWeapons();
void fireWeapon(std::int16_t ship, const std::string& effectName, float power);
void spawnShot(std::int16_t ship, const std::string& particleString, float power,
               const std::string& effectName);
void updateShot(std::int16_t j);
void freeShot(std::int16_t j);

// --- contacts and pickups (collisions.cpp) ---
// The collision grid cell of a point: 100-pixel squares, ten to a row.
std::int32_t gridCell(double x, double y);
void hitShipsWithAsteroid(std::int16_t k);
void hitAsteroidsWithShot(std::int16_t j);
void collectPickup(std::int16_t i);
void spawnPickup(double x, double y);
void expirePickups();
void removePickup(std::int16_t m);

} // namespace vastorim
