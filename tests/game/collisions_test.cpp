#include "world_fixture.h"

#include <array>
#include <cmath>

namespace vastorim::testing {
namespace {

using ContactTest = WorldTest;

TEST_F(ContactTest, AnAsteroidInReachHurtsTheFirstHealthyShipBySizeBouncesItAndIsDestroyed) {
    struct Case {
        int size;
        double x;
        float health, fade, after;
    };
    for (Case c : {Case{1, 520, 10, 1, -2},          // dying at -1 or below, never exactly 0
                   Case{3, 505, 4, 1, -1},           // a hit to exactly 0 kills
                   Case{3, 505, -5, 1, -5},          // a dying ship takes no more
                   Case{3, 511, 100, 1, 100},        // out of reach: the radius is 10
                   Case{3, 505, 100, 0.99f, 100}}) { // the game is over
        putAt(ship().particle, 500, 500);
        setVelocity(ship().particle, 3, -2);
        ship().particle.damage = c.health;
        globals.globalFade = c.fade;
        placeAsteroid(0, c.size, c.x, 500);
        hitShipsWithAsteroid(0);
        const bool hit = c.after != c.health;
        SCOPED_TRACE(::testing::Message() << "size " << c.size << " at " << c.x);
        EXPECT_EQ(ship().particle.damage, c.after);
        EXPECT_EQ(velocity(ship().particle), hit ? XY(-3, 2) : XY(3, -2));
        EXPECT_EQ(rock(0).killAt, hit ? 0 : 1);
        EXPECT_EQ(rock(0).damage, hit ? 0 : (4 - c.size) * 20);
    }
    loadShips(2);
    globals.globalFade = 1;
    for (int i : {0, 1}) {
        putAt(ship(i).particle, 500 + i, 500);
        ship(i).particle.damage = 10;
    }
    placeAsteroid(0, 1, 520, 510);
    hitShipsWithAsteroid(0);
    EXPECT_EQ(ship(0).particle.damage, -2);
    EXPECT_EQ(ship(1).particle.damage, 10) << "the second ship is spared";
}

TEST_F(ContactTest, AShotTakesItsPowerOffShowsASparkBySizeAndIsSpent) {
    placeAsteroid(0, 3, 450, 450);
    placeAsteroid(1, 2, 452, 450);
    placeShot(0, 30, 451, 450);
    hitAsteroidsWithShot(0);
    EXPECT_EQ(rock(0).damage, 0) << "not below zero";
    EXPECT_EQ(rock(0).killAt, 0);
    EXPECT_EQ(rock(1).damage, 40) << "the spent shot goes on but subtracts nothing";
    EXPECT_EQ(live("hit_medium").size(), 1u);
    EXPECT_EQ(world.shots[0].particle.killAt, 0);

    placeShot(0, 2, 465, 450); // out of the small one's reach
    hitAsteroidsWithShot(0);
    EXPECT_EQ(rock(1).damage, 38);
    EXPECT_EQ(live("hit_small").size(), 1u);

    hitEffects = false;
    placeShot(0, 5, 451, 450);
    hitAsteroidsWithShot(0);
    EXPECT_EQ(world.shots[0].particle.killAt, 0) << "a destroyed asteroid still stops shots";
    EXPECT_EQ(rock(1).damage, 38);
    EXPECT_EQ(live("hit_medium").size() + live("hit_small").size(), 2u);
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
        putAt(ship().particle, 700, 300);
    }
    using Levels = std::array<int, 3>;
    static Levels levels() {
        return {ship().weapon1Level, ship().weapon2Level, ship().weapon3Level};
    }
};

TEST_F(PickupTest, FlyingOverOneRaisesAWeaponByTheDrawAndOnlyOnePerFrame) {
    spawnPickup(705, 300);
    spawnPickup(695, 300);
    spawnPickup(900, 300);
    seedRandom(5);
    Levels raised{1, 0, 0};
    ++raised[static_cast<std::size_t>(toInteger(2 * rnd()))];
    seedRandom(5);
    updateShip(0);
    EXPECT_EQ(world.lastPickup, 1);
    EXPECT_EQ(emitter.getParticle(world.pickups[1])->x, 900);
    EXPECT_EQ(levels(), raised);
    ASSERT_EQ(live("pickup_over").size(), 1u);
    EXPECT_EQ(live("pickup_over")[0]->x, 705);
    updateShip(0);
    EXPECT_EQ(world.lastPickup, 0);

    ship().weapon1Level = ship().weapon2Level = 4;
    ship().weapon3Level = 2;
    for (int n = 0; n < 3; ++n) {
        spawnPickup(700, 300);
        collectPickup(0);
    }
    EXPECT_EQ(levels(), (Levels{4, 4, 4}))
        << "full weapons pass the upgrade on; all full changes nothing";
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
