#include "world_fixture.h"

#include "engine/game_setup.h"
#include "engine/numbers.h"
#include "engine/random.h"
#include "engine/startup.h"
#include "game/world.h"
#include "particles/emitter.h"

#include <cmath>

namespace vastorim::testing {
namespace {

using ContactTest = WorldTest;

TEST_F(ContactTest, AnAsteroidHurtsTheFirstShipItTouchesBouncesItAndIsDestroyed) {
    loadTwoShips();
    for (int i : {0, 1}) {
        ship(i).particle.x = 500 + i;
        ship(i).particle.y = 500;
        ship(i).particle.damage = 10;
    }
    ship(0).particle.speedX.setKeyVal(0, 3);
    ship(0).particle.speedY.setKeyVal(0, -2);
    placeAsteroid(0, 1, 520, 510);
    hitShipsWithAsteroid(0);
    EXPECT_EQ(ship(0).particle.damage, -2) << "dying at -1 or below, never exactly 0";
    EXPECT_EQ(velocity(ship(0).particle), XY(-3, 2));
    EXPECT_EQ(ship(1).particle.damage, 10) << "the second ship is spared";
    EXPECT_EQ(rock(0).killAt, 0);
    EXPECT_EQ(rock(0).damage, 0);

    ship(1).particle.damage = 4;
    placeAsteroid(0, 3, 505, 500);
    hitShipsWithAsteroid(0);
    EXPECT_EQ(ship(1).particle.damage, -1) << "a hit to exactly 0 kills";

    ship(1).particle.damage = -5;
    placeAsteroid(0, 3, 505, 500);
    hitShipsWithAsteroid(0);
    EXPECT_EQ(ship(1).particle.damage, -5) << "a dying ship takes no more";
}

TEST_F(ContactTest, NoHarmOutOfReachOrAfterGameOver) {
    ship().particle.x = 400;
    ship().particle.y = 400;
    placeAsteroid(0, 3, 411, 400); // radius 10
    hitShipsWithAsteroid(0);
    placeAsteroid(0, 3, 405, 400);
    globals.globalFade = 0.99f;
    hitShipsWithAsteroid(0);
    EXPECT_EQ(ship().particle.damage, 100);
    EXPECT_EQ(rock(0).killAt, 1);
}

TEST_F(ContactTest, AShotTakesItsPowerOffShowsASparkBySizeAndIsSpent) {
    placeAsteroid(0, 3, 450, 450);
    placeAsteroid(1, 2, 452, 450);
    placeShot(0, 30, 451, 450);
    hitAsteroidsWithShot(0);
    EXPECT_EQ(rock(0).damage, 0) << "not below zero";
    EXPECT_EQ(rock(0).killAt, 0);
    EXPECT_EQ(rock(1).damage, 40) << "the spent shot goes on but subtracts nothing";
    EXPECT_EQ(liveCount("hit_medium"), 1);
    EXPECT_EQ(world.shots[0].particle.killAt, 0);

    placeShot(0, 2, 465, 450); // out of the small one's reach
    hitAsteroidsWithShot(0);
    EXPECT_EQ(rock(1).damage, 38);
    EXPECT_EQ(liveCount("hit_small"), 1);

    hitEffects = false;
    placeShot(0, 5, 451, 450);
    hitAsteroidsWithShot(0);
    EXPECT_EQ(world.shots[0].particle.killAt, 0) << "a destroyed asteroid still stops shots";
    EXPECT_EQ(rock(1).damage, 38);
    EXPECT_EQ(liveCount("hit_medium") + liveCount("hit_small"), 2);
}

TEST_F(ContactTest, ShotsOnlyHitAsteroidsInTheirOwnCell) {
    placeAsteroid(0, 1, 101, 150);
    placeShot(0, 5, 99, 150);
    hitAsteroidsWithShot(0);
    EXPECT_EQ(rock(0).damage, 60);
    struct Case {
        double x, y;
        int cell;
    };
    for (Case c : {Case{99, 150, 10}, Case{1000, 0, 10}, Case{-99, -99, 0}, Case{450.5, 0, 4},
                   Case{std::nan(""), 1e300, 10000000 * 10}}) {
        EXPECT_EQ(gridCell(c.x, c.y), c.cell) << c.x << "," << c.y;
    }
}

class PickupTest : public WorldTest {
  protected:
    void SetUp() override {
        WorldTest::SetUp();
        ship().particle.x = 700;
        ship().particle.y = 300;
    }
    static int levels() { return ship().weapon1Level + ship().weapon2Level + ship().weapon3Level; }
};

TEST_F(PickupTest, FlyingOverOneRaisesAWeaponByTheDrawAndOnlyOnePerFrame) {
    spawnPickup(705, 300);
    spawnPickup(695, 300);
    spawnPickup(900, 300);
    seedRandom(5);
    std::int16_t w = toInteger(2 * rnd());
    seedRandom(5);
    updateShip(0);
    EXPECT_EQ(world.lastPickup, 1);
    EXPECT_EQ(emitter.getParticle(world.pickups[1])->x, 900);
    EXPECT_EQ(levels(), 2);
    EXPECT_EQ(w == 0   ? ship().weapon1Level
              : w == 1 ? ship().weapon2Level
                       : ship().weapon3Level,
              w == 0 ? 2 : 1);
    ASSERT_EQ(liveCount("pickup_over"), 1);
    EXPECT_EQ(firstLive("pickup_over")->x, 705);
    updateShip(0);
    EXPECT_EQ(world.lastPickup, 0);

    ship().weapon1Level = ship().weapon2Level = 4;
    ship().weapon3Level = 2;
    for (int n = 0; n < 3; ++n) {
        spawnPickup(700, 300);
        collectPickup(0);
    }
    EXPECT_EQ(levels(), 12) << "full weapons pass the upgrade on; all full changes nothing";
    EXPECT_EQ(world.lastPickup, 0) << "each collected, the one out of reach left";
}

TEST_F(PickupTest, OnePickupExpiresPerBeatOnceItsSlotHoldsSomethingElse) {
    for (double x : {100, 200, 300}) {
        spawnPickup(x, 100);
    }
    emitter.getParticle(world.pickups[0])->name = "spark";
    emitter.getParticle(world.pickups[1])->name = "spark";
    expirePickups();
    EXPECT_EQ(world.lastPickup, 2) << "only on the beat";
    setBeats(false, true, false, false);
    for (int expected : {1, 0, 0}) {
        expirePickups();
        EXPECT_EQ(world.lastPickup, expected);
    }
    EXPECT_EQ(emitter.getParticle(world.pickups[0])->x, 300);
}

} // namespace
} // namespace vastorim::testing
