#pragma once

#include "game/world_tables.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace vastorim::testing {

// A program folder of small effect files, loaded into the emitter, one player on the arrow keys
// and space, clean global, music and world state, a pinned seed and no beat flag set. Every
// particle type is named after its file, so a test can count what a step spawned.
class WorldTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // Rewrites the setup file with these players (five key names each) and loads them.
    void loadShips(const std::vector<std::vector<std::string>>& players);
    // The arrow keys and space, and W, S, A, D and Control.
    void loadTwoShips();

    static Ship& ship(int i = 0) { return world.ships[i]; }
    static Particle& rock(int k) { return world.asteroids[k].particle; }
    static double speedX(const Particle& p) { return p.speedX.getValue(0); }
    static double speedY(const Particle& p) { return p.speedY.getValue(0); }
    using XY = std::pair<double, double>;
    static XY at(const Particle& p) { return {p.x, p.y}; }
    static XY velocity(const Particle& p) { return {speedX(p), speedY(p)}; }

    // Live emitter particles of the type called name, and the first of them (or null).
    static int liveCount(const std::string& name);
    static Particle* firstLive(const std::string& name);

    static void setBeats(bool half, bool beat, bool two, bool four);

    // An alive asteroid of that size in slot k, at rest at (x, y), its cell up to date; the
    // bound grows to cover it.
    static Asteroid& placeAsteroid(int k, int size, double x, double y);
    // A flying shot of that power in slot j at (x, y), its cell up to date.
    static Shot& placeShot(int j, float power, double x, double y);

    test::TempFolder folder;
};

} // namespace vastorim::testing
