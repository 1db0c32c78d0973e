#include "world_fixture.h"

#include "engine/mod_dx8_sound.h"
#include "engine/mod_game_load.h"
#include "engine/mod_vbp_start.h"
#include "engine/numbers.h"
#include "engine/random.h"
#include "game/mod_game_update.h"
#include "particles/clsEmitter.h"

namespace vastorim::testing {
namespace {

class ContactTest : public WorldTest {
  protected:
    void SetUp() override {
        WorldTest::SetUp();
        setBeats(false, false, false, false);
        globals.frameTime = 0;
    }
    // A shot of the given power at (x, y), its cell up to date.
    static Shot& placeShot(int j, float power, double x, double y) {
        Shot& shot = world.shots[j];
        shot.particle = clsParticle{};
        shot.particle.initialize();
        shot.particle.lngKillat = 2;
        shot.particle.damage = power;
        shot.particle.dblX = x;
        shot.particle.dblY = y;
        shot.owner = 0;
        shot.cell = gridCell(x, y);
        if (world.lastShot < j) {
            world.lastShot = static_cast<std::int16_t>(j);
        }
        return shot;
    }
};

TEST_F(ContactTest, AnAsteroidHurtsAShipBouncesItAndIsDestroyed) {
    loadOneShip();
    clsParticle& body = ship().particle;
    body.dblX = 500;
    body.dblY = 500;
    body.speedx.setKeyVal(0, 3);
    body.speedy.setKeyVal(0, -2);
    body.damage = 10;
    Asteroid& asteroid = placeAsteroid(0, 1, 520, 510);
    hitShipsWithAsteroid(0);
    EXPECT_EQ(body.damage, -2);
    EXPECT_EQ(body.speedx.getValue(0), -3);
    EXPECT_EQ(body.speedy.getValue(0), 2);
    EXPECT_EQ(asteroid.particle.lngKillat, 0);
    EXPECT_EQ(asteroid.particle.damage, 0);
}

TEST_F(ContactTest, ADeathAlwaysPassesThroughDying) {
    loadOneShip();
    ship().particle.damage = 4;
    ship().particle.dblX = 100;
    ship().particle.dblY = 100;
    placeAsteroid(0, 3, 105, 100);
    hitShipsWithAsteroid(0);
    EXPECT_EQ(ship().particle.damage, -1);
}

TEST_F(ContactTest, OnlyTheFirstOfTwoTouchingShipsIsHurt) {
    loadShips({{"up", "down", "left", "right", "space"}, {"w", "s", "a", "d", "control"}});
    for (int i : {0, 1}) {
        ship(i).particle.dblX = 400 + i;
        ship(i).particle.dblY = 400;
    }
    placeAsteroid(0, 2, 405, 400);
    hitShipsWithAsteroid(0);
    EXPECT_EQ(ship(0).particle.damage, 92);
    EXPECT_EQ(ship(1).particle.damage, 100);
}

TEST_F(ContactTest, NoHarmOutOfReachToDeadShipsOrAfterGameOver) {
    loadOneShip();
    ship().particle.dblX = 400;
    ship().particle.dblY = 400;
    placeAsteroid(0, 3, 411, 400); // radius 10
    hitShipsWithAsteroid(0);
    EXPECT_EQ(ship().particle.damage, 100);

    placeAsteroid(0, 3, 405, 400);
    globals.globalFade = 0.99f;
    hitShipsWithAsteroid(0);
    EXPECT_EQ(ship().particle.damage, 100);
    EXPECT_EQ(world.asteroids[0].particle.lngKillat, 1);

    globals.globalFade = 1;
    ship().particle.damage = -5;
    hitShipsWithAsteroid(0);
    EXPECT_EQ(ship().particle.damage, -5);
}

TEST_F(ContactTest, AShotTakesItsPowerOffAndShowsASparkBySize) {
    Asteroid& asteroid = placeAsteroid(0, 2, 450, 450);
    placeShot(0, 2, 455, 450);
    hitAsteroidsWithShot(0);
    EXPECT_EQ(asteroid.particle.damage, 38);
    EXPECT_EQ(asteroid.particle.lngKillat, 1);
    EXPECT_EQ(liveCount("hit_small"), 1);
    EXPECT_EQ(world.shots[0].particle.damage, 0);
    EXPECT_EQ(world.shots[0].particle.lngKillat, 0);

    placeShot(0, 5, 455, 450);
    hitAsteroidsWithShot(0);
    EXPECT_EQ(asteroid.particle.damage, 33);
    EXPECT_EQ(liveCount("hit_medium"), 1);

    hitEffects = false;
    placeShot(0, 5, 455, 450);
    hitAsteroidsWithShot(0);
    EXPECT_EQ(asteroid.particle.damage, 28);
    EXPECT_EQ(liveCount("hit_medium"), 1);
    EXPECT_EQ(liveCount("hit_small"), 1);
}

TEST_F(ContactTest, HitPointsStopAtZeroAndASpentShotHitsNothingMore) {
    Asteroid& small = placeAsteroid(0, 3, 450, 450);
    Asteroid& behind = placeAsteroid(1, 3, 452, 450);
    placeShot(0, 30, 451, 450);
    hitAsteroidsWithShot(0);
    EXPECT_EQ(small.particle.damage, 0);
    EXPECT_EQ(small.particle.lngKillat, 0);
    EXPECT_EQ(behind.particle.damage, 20);
    EXPECT_EQ(behind.particle.lngKillat, 1);
    EXPECT_EQ(liveCount("hit_medium"), 1);

    // A destroyed asteroid that has not broken yet still stops shots.
    placeShot(1, 2, 450, 450);
    hitAsteroidsWithShot(1);
    EXPECT_EQ(world.shots[1].particle.lngKillat, 0);
}

TEST_F(ContactTest, ShotsOnlyHitAsteroidsInTheirOwnCell) {
    Asteroid& asteroid = placeAsteroid(0, 1, 101, 150);
    placeShot(0, 5, 99, 150);
    hitAsteroidsWithShot(0);
    EXPECT_EQ(asteroid.particle.damage, 60);
    EXPECT_EQ(world.shots[0].particle.lngKillat, 2);
    EXPECT_EQ(gridCell(99, 150), 10);
    EXPECT_EQ(gridCell(101, 150), 11);
    EXPECT_EQ(gridCell(1000, 0), 10);
    EXPECT_EQ(gridCell(-99, -99), 0);
    EXPECT_EQ(gridCell(450.5, 0), 4);
}

class PickupTest : public ContactTest {
  protected:
    void SetUp() override {
        ContactTest::SetUp();
        loadOneShip();
        ship().particle.dblX = 700;
        ship().particle.dblY = 300;
    }
    // The weapon that the next collection raises, by the generator's next draw.
    static std::int16_t nextDraw(std::uint64_t seed) {
        seedRandom(seed);
        std::int16_t w = toInteger(2 * rnd());
        seedRandom(seed);
        return w;
    }
};

TEST_F(PickupTest, FlyingOverAPickupRaisesAWeaponAndRemovesIt) {
    spawnPickup(710, 300);
    spawnPickup(900, 300);
    ASSERT_EQ(world.lastPickup, 1);
    std::int16_t w = nextDraw(5);
    collectPickup(0);
    EXPECT_EQ(world.lastPickup, 0);
    EXPECT_EQ(emitter.getParticle(world.pickups[0])->dblX, 900);
    EXPECT_EQ(ship().weapon1Level, w == 0 ? 2 : 1);
    EXPECT_EQ(ship().weapon2Level, w == 1 ? 1 : 0);
    EXPECT_EQ(ship().weapon3Level, w == 2 ? 1 : 0);
    ASSERT_EQ(liveCount("pickup_over"), 1);
    EXPECT_EQ(firstLive("pickup_over")->dblX, 710);
}

TEST_F(PickupTest, AtMostOnePickupPerFrame) {
    spawnPickup(705, 300);
    spawnPickup(695, 300);
    updateShip(0);
    EXPECT_EQ(world.lastPickup, 0);
    updateShip(0);
    EXPECT_EQ(world.lastPickup, -1);
}

TEST_F(PickupTest, FullWeaponsPassTheUpgradeOnAndAllFullChangesNothing) {
    ship().weapon1Level = 4;
    ship().weapon2Level = 4;
    ship().weapon3Level = 2;
    for (int n = 0; n < 4; ++n) {
        spawnPickup(700, 300);
        collectPickup(0);
    }
    EXPECT_EQ(ship().weapon1Level, 4);
    EXPECT_EQ(ship().weapon2Level, 4);
    EXPECT_EQ(ship().weapon3Level, 4);
    EXPECT_EQ(world.lastPickup, -1);
}

TEST_F(PickupTest, WeaponOneAtTheTopPassesToWeaponTwo) {
    ship().weapon1Level = 4;
    for (std::uint64_t seed = 1; seed <= 6; ++seed) {
        spawnPickup(700, 300);
        std::int16_t w = nextDraw(seed);
        std::int16_t before2 = ship().weapon2Level;
        std::int16_t before3 = ship().weapon3Level;
        collectPickup(0);
        EXPECT_EQ(ship().weapon1Level, 4);
        bool toTwo = w <= 1 && before2 < 4;
        EXPECT_EQ(ship().weapon2Level, before2 + (toTwo ? 1 : 0));
        EXPECT_EQ(ship().weapon3Level, before3 + (!toTwo && before3 < 4 ? 1 : 0));
    }
}

TEST_F(PickupTest, PickupsExpireOnePerBeatOnceTheirSlotHoldsSomethingElse) {
    spawnPickup(100, 100);
    spawnPickup(200, 100);
    spawnPickup(300, 100);
    for (int m = 0; m <= 1; ++m) {
        emitter.getParticle(world.pickups[m])->sName = "spark";
    }
    expirePickups();
    EXPECT_EQ(world.lastPickup, 2);
    setBeats(false, true, false, false);
    expirePickups();
    EXPECT_EQ(world.lastPickup, 1);
    expirePickups();
    EXPECT_EQ(world.lastPickup, 0);
    expirePickups();
    EXPECT_EQ(world.lastPickup, 0);
    EXPECT_EQ(emitter.getParticle(world.pickups[0])->dblX, 300);
}

TEST_F(PickupTest, RemovingKeepsTheOrderOfTheRest) {
    spawnPickup(100, 100);
    spawnPickup(200, 100);
    spawnPickup(300, 100);
    std::int16_t last = world.pickups[2];
    removePickup(1);
    ASSERT_EQ(world.lastPickup, 1);
    EXPECT_EQ(world.pickups[1], last);
    removePickup(0);
    removePickup(0);
    EXPECT_EQ(world.lastPickup, -1);
    spawnPickup(400, 100);
    EXPECT_EQ(world.lastPickup, 0);
}

} // namespace
} // namespace vastorim::testing
