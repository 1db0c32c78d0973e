#include "world_fixture.h"

#include "engine/mod_dx8_sound.h"
#include "engine/mod_vbp_start.h"
#include "engine/numbers.h"
#include "engine/random.h"
#include "game/mod_game_load.h"
#include "game/mod_game_update.h"

namespace vastorim::testing {
namespace {

class AsteroidTest : public WorldTest {
  protected:
    void SetUp() override {
        WorldTest::SetUp();
        setBeats(false, false, false, false);
        globals.frameTime = 0;
    }
    static clsParticle& rock(int k) { return world.asteroids[k].particle; }
    static double vx(int k) { return rock(k).speedx.getValue(0); }
    static double vy(int k) { return rock(k).speedy.getValue(0); }
};

TEST_F(AsteroidTest, NewAsteroidsEnterFromAnEdgeInTheOrderOfTheirDraws) {
    bool sides = false;
    bool topOrBottom = false;
    for (std::uint64_t seed = 1; seed <= 24; ++seed) {
        seedRandom(seed);
        float a = rnd();
        float b = rnd();
        float along = rnd();
        double speedx = rnd() * 100.0 - 50;
        double speedy = rnd() * 100.0 - 50;

        clearAsteroidsAndPickups();
        seedRandom(seed);
        spawnAsteroid(-1, "asteroid1_2.txt");
        ASSERT_EQ(world.lastAsteroid, 0);
        const Asteroid& asteroid = world.asteroids[0];
        EXPECT_EQ(asteroid.size, 1);
        EXPECT_EQ(asteroid.particle.damage, 60);
        EXPECT_EQ(asteroid.particle.lngKillat, 1);
        EXPECT_EQ(asteroid.particle.sName, "asteroid1_2");
        if (b < 0.5f) {
            sides = true;
            EXPECT_EQ(asteroid.particle.dblX, a < 0.5f ? -15 : 1039);
            EXPECT_DOUBLE_EQ(asteroid.particle.dblY, along * 768.0);
        } else {
            topOrBottom = true;
            EXPECT_EQ(asteroid.particle.dblY, a < 0.5f ? -15 : 783);
            EXPECT_DOUBLE_EQ(asteroid.particle.dblX, along * 1024.0);
        }
        EXPECT_DOUBLE_EQ(vx(0), speedx);
        EXPECT_DOUBLE_EQ(vy(0), speedy);
    }
    EXPECT_TRUE(sides);
    EXPECT_TRUE(topOrBottom);
}

TEST_F(AsteroidTest, FragmentsStartAtTheParentAndGoFasterWithTheMusic) {
    placeAsteroid(0, 1, 300, 200);
    music.musicFrequency = 22000;
    spawnAsteroid(0, "asteroid2_1.txt");
    ASSERT_EQ(world.lastAsteroid, 1);
    EXPECT_EQ(world.asteroids[1].size, 2);
    EXPECT_EQ(rock(1).damage, 40);
    EXPECT_EQ(vx(1), 20);
    EXPECT_EQ(vy(1), 20);
    EXPECT_EQ(rock(1).dblX, 300);
    EXPECT_EQ(rock(1).dblY, 200);

    music.musicFrequency = 32049.6; // (10050 rounded) \ 100 = 100
    seedRandom(3);
    double expectedX = rnd() * 100.0 + 20;
    double expectedY = rnd() * 100.0 + 20;
    seedRandom(3);
    spawnAsteroid(1, "asteroid3_1.txt");
    EXPECT_EQ(world.asteroids[2].size, 3);
    EXPECT_EQ(rock(2).damage, 20);
    EXPECT_DOUBLE_EQ(vx(2), expectedX);
    EXPECT_DOUBLE_EQ(vy(2), expectedY);
}

TEST_F(AsteroidTest, BreakingALargeOneLeavesTwoMediumFragmentsAnExplosionAndMaybeAPickup) {
    bool withPickup = false;
    bool without = false;
    for (std::uint64_t seed = 1; seed <= 8; ++seed) {
        clearAsteroidsAndPickups();
        placeAsteroid(0, 1, 400, 300);
        rock(0).lngKillat = 0;
        rock(0).damage = 0;
        seedRandom(seed);
        for (int draw = 0; draw < 4; ++draw) {
            rnd(); // the two fragments' speeds
        }
        bool pickup = toInteger(2 * rnd()) == 1;
        (pickup ? withPickup : without) = true;
        seedRandom(seed);
        int explosions = liveCount("explode_large");
        breakAsteroid(0);
        EXPECT_EQ(world.asteroids[0].size, kFreeSlot);
        EXPECT_EQ(world.asteroids[1].size, 2);
        EXPECT_EQ(world.asteroids[2].size, 2);
        EXPECT_EQ(rock(1).sName, "asteroid2_1");
        EXPECT_EQ(rock(2).sName, "asteroid2_2");
        EXPECT_EQ(rock(2).dblX, 400);
        EXPECT_EQ(world.lastAsteroid, 2);
        EXPECT_EQ(liveCount("explode_large"), explosions + 1);
        EXPECT_EQ(world.lastPickup, pickup ? 0 : -1) << "seed " << seed;
    }
    EXPECT_TRUE(withPickup);
    EXPECT_TRUE(without);
}

TEST_F(AsteroidTest, SmallOnesBreakWithoutFragments) {
    placeAsteroid(0, 3, 100, 100);
    rock(0).lngKillat = 0;
    breakAsteroid(0);
    EXPECT_EQ(world.lastAsteroid, -1);
    EXPECT_EQ(liveCount("explode_small"), 1);
    EXPECT_EQ(liveCount("asteroid3_1"), 0);
}

TEST_F(AsteroidTest, DestroyedAsteroidsBreakOnTheirOwnBeat) {
    placeAsteroid(0, 3, 100, 100);
    placeAsteroid(1, 1, 600, 600);
    for (int k : {0, 1}) {
        rock(k).lngKillat = 0;
        rock(k).damage = 0;
        rock(k).speedx.setKeyVal(0, 10);
    }
    globals.frameTime = 0.5f;
    setBeats(true, false, true, false);
    updateAsteroids();
    EXPECT_EQ(world.asteroids[0].size, 3);
    EXPECT_EQ(rock(1).dblX, 605); // drifting while it waits

    setBeats(false, true, false, false);
    updateAsteroids();
    EXPECT_EQ(world.asteroids[0].size, kFreeSlot);
    EXPECT_EQ(world.asteroids[1].size, 1);

    setBeats(false, true, false, true);
    updateAsteroids();
    EXPECT_EQ(world.asteroids[1].size, kFreeSlot);
    // The medium fragments took the free slots 0 and 2 and were visited in the same pass
    // only where their index lay within the bound read at its start.
    EXPECT_EQ(world.asteroids[0].size, 2);
    EXPECT_EQ(world.asteroids[2].size, 2);
    EXPECT_EQ(world.lastAsteroid, 2);
}

TEST_F(AsteroidTest, TintShowsHitPointsLeftAndTheBeatMakesItThrob) {
    placeAsteroid(0, 1, 500, 500);
    rock(0).damage = 30;
    rock(0).colourA.setKeyVal(0, 200);
    globals.frameTime = 0.5f;
    updateAsteroid(0);
    EXPECT_EQ(rock(0).colourR.getValue(0), 255);
    EXPECT_DOUBLE_EQ(rock(0).colourG.getValue(0), 127.5);
    EXPECT_DOUBLE_EQ(rock(0).colourB.getValue(0), 127.5);
    EXPECT_EQ(rock(0).colourA.getValue(0), 170);
    updateAsteroid(0);
    EXPECT_EQ(rock(0).colourA.getValue(0), 150);

    setBeats(false, false, false, true);
    globals.frameTime = 0.25f;
    updateAsteroid(0);
    EXPECT_EQ(rock(0).colourA.getValue(0), 240);
}

TEST_F(AsteroidTest, SpinsMovesAndFindsItsCell) {
    placeAsteroid(0, 2, 250, 340);
    rock(0).Rotation.setKeyVal(0, 2);
    rock(0).speedx.setKeyVal(0, -100);
    rock(0).speedy.setKeyVal(0, 40);
    rock(0).dblAngle = 1;
    globals.frameTime = 0.5f;
    updateAsteroid(0);
    EXPECT_DOUBLE_EQ(rock(0).dblAngle, 2);
    EXPECT_EQ(rock(0).dblX, 200);
    EXPECT_EQ(rock(0).dblY, 360);
    EXPECT_EQ(world.asteroids[0].cell, 2 + 3 * 10);
}

TEST_F(AsteroidTest, EdgesTurnOutwardMotionBackWithoutClampingThePosition) {
    placeAsteroid(0, 1, 25, 300); // radius 30 overlaps the left edge
    rock(0).speedx.setKeyVal(0, -7);
    confineAsteroid(0);
    EXPECT_EQ(vx(0), 7);
    EXPECT_EQ(rock(0).dblX, 25);
    confineAsteroid(0);
    EXPECT_EQ(vx(0), 7);

    placeAsteroid(1, 3, 1039, 783); // a new one outside, moving in, flies in
    rock(1).speedx.setKeyVal(0, -5);
    rock(1).speedy.setKeyVal(0, -5);
    confineAsteroid(1);
    EXPECT_EQ(vx(1), -5);
    EXPECT_EQ(vy(1), -5);
    rock(1).speedy.setKeyVal(0, 5);
    confineAsteroid(1);
    EXPECT_EQ(vy(1), -5);
}

TEST_F(AsteroidTest, BreakingTheTopSlotLowersTheBoundAndTheGapIsReusedFirst) {
    placeAsteroid(0, 3, 100, 100);
    placeAsteroid(1, 3, 200, 100);
    placeAsteroid(2, 3, 300, 100);
    breakAsteroid(1);
    EXPECT_EQ(world.lastAsteroid, 2);
    breakAsteroid(2);
    EXPECT_EQ(world.lastAsteroid, 1);
    spawnAsteroid(-1, "asteroid1_1.txt");
    EXPECT_EQ(world.asteroids[1].size, 1);
    EXPECT_EQ(world.lastAsteroid, 1);
    spawnAsteroid(-1, "asteroid1_1.txt");
    EXPECT_EQ(world.lastAsteroid, 2);
}

} // namespace
} // namespace vastorim::testing
