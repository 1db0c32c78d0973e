#pragma once

#include "particles/effect.h"
#include "particles/particle.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace vastorim {

// One player: the ship's particle carries position, heading (angle), health (damage) and its
// velocity as key 0 of the speedX and speedY tracks.
struct Ship {
    Particle particle;
    std::int16_t weapon1Level = 0;
    std::int16_t weapon2Level = 0;
    std::int16_t weapon3Level = 0;
    std::int16_t keyUp = 0;
    std::int16_t keyDown = 0;
    std::int16_t keyLeft = 0;
    std::int16_t keyRight = 0;
    std::int16_t keyFire = 0;
    bool upHeld = false;
    bool downHeld = false;
    bool leftHeld = false;
    bool rightHeld = false;
    bool fireHeld = false;
    float engineTimer = 0;
};

inline constexpr std::int16_t kFreeSlot = -2;
inline constexpr std::int16_t kWorldSlots = 10001;

struct Asteroid {
    Particle particle;
    std::int16_t size = kFreeSlot; // 1 large, 2 medium, 3 small
    // Collision grid cell. Wider than 16 bits so that a far-flung object cannot overflow it.
    std::int32_t cell = 0;

    double radius() const { return (4 - size) * 10; } // pixels, for contacts and edges
};

struct Shot {
    Particle particle;
    std::int16_t owner = kFreeSlot; // index of the firing ship
    float trailTimer = 0;
    std::string trailEffect; // empty: no trail
    std::int32_t cell = 0;
};

// The world tables and the game's own shared variables. Asteroid and shot slots are allocated
// once at full size and their particles are reused from game to game.
struct WorldState {
    std::vector<Ship> ships;
    std::int16_t lastShip = -1;
    std::vector<Asteroid> asteroids = std::vector<Asteroid>(kWorldSlots);
    std::int16_t lastAsteroid = -1;
    std::vector<Shot> shots = std::vector<Shot>(kWorldSlots);
    std::int16_t lastShot = -1;
    std::vector<std::int16_t> pickups; // emitter slots of the pickup particles
    std::int16_t lastPickup = -1;

    Effect* scratchEffect = nullptr; // the effect looked up by name last
    Effect* playerEffect = nullptr;

    // Place 1 to 10 of the final time in the high-score table, or -1; -1 from endGame until the
    // online table has arrived.
    std::int16_t scorePlace = -1;
    // Set by the screens layer: fetches the online table and, once it has arrived, writes the
    // final time's place to scorePlace. endGame calls it only when the online switch is on.
    std::function<void(std::int32_t finalTime)> placeFinalTime;
};

extern WorldState world;

// Back to the start-up state: no ships, every slot free, no hook.
void resetWorld();

// The slot rule shared by the asteroid and shot tables: the lowest free slot up to the bound,
// else the bound grows by one. A full table gives -1 and the caller drops its new entry.
template <class Slot>
std::int16_t allocateSlot(std::vector<Slot>& table, std::int16_t& last,
                          std::int16_t Slot::*marker) {
    for (std::int16_t i = 0; i <= last; ++i) {
        if (table[i].*marker == kFreeSlot) {
            return i;
        }
    }
    if (last + 1 >= static_cast<int>(table.size())) {
        return -1;
    }
    return ++last;
}

// Marks the slot free; freeing the top slot lowers the bound by exactly one.
template <class Slot>
void releaseSlot(std::vector<Slot>& table, std::int16_t& last, std::int16_t Slot::*marker,
                 std::int16_t index) {
    table[index].*marker = kFreeSlot;
    if (index == last) {
        --last;
    }
}

// The key code bound by a name of the setup file; lower-cases the caller's text. Names outside
// the table bind the upper-case code of their first character; an empty name binds nothing (0).
std::int16_t keyCodeFromName(std::string& name);

// Clears the five held flags of every ship (leaving a game with Escape).
void clearHeldKeys();

} // namespace vastorim
