#pragma once

#include "game/mod_game_globals.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace vastorim::testing {

// A program folder of small effect files made for the world's tests, loaded into the emitter,
// with clean global, music and world state and a pinned random seed. Every particle type is
// named after its file (without ".txt"), so a test can count what a step spawned.
class WorldTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // Rewrites the setup file with these players (five key names each) and loads them.
    void loadShips(const std::vector<std::vector<std::string>>& players);
    // One player on the arrow keys and space.
    void loadOneShip();

    Ship& ship(int i = 0) { return world.ships[i]; }

    // Live emitter particles whose type is called name.
    int liveCount(const std::string& name) const;
    // The lowest-slot live emitter particle of that type, or null.
    clsParticle* firstLive(const std::string& name) const;

    // A frame's beat flags.
    static void setBeats(bool half, bool beat, bool two, bool four);

    // Puts an asteroid of the given size into slot k (the bound grows to cover it), alive, at
    // rest at (x, y), its cell up to date.
    Asteroid& placeAsteroid(int k, int size, double x, double y);

    std::filesystem::path folder;
};

} // namespace vastorim::testing
