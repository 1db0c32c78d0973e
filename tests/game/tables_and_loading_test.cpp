#include "world_fixture.h"

#include "engine/app_path.h"
#include "engine/errors.h"
#include "engine/mod_vbp_start.h"
#include "engine/random.h"
#include "game/mod_game_load.h"
#include "game/mod_game_update.h"
#include "particles/clsEmitter.h"

#include <fstream>
#include <numbers>

namespace vastorim::testing {
namespace {

TEST(SlotRule, AnEmptyTableStartsAtSlotZero) {
    std::vector<Asteroid> table(4);
    std::int16_t last = -1;
    EXPECT_EQ(allocateSlot(table, last, &Asteroid::size), 0);
    EXPECT_EQ(last, 0);
}

TEST(SlotRule, TheLowestFreeSlotBelowTheBoundIsTakenFirst) {
    std::vector<Shot> table(5);
    std::int16_t last = 2;
    table[0].owner = 0;
    table[2].owner = 1;
    EXPECT_EQ(allocateSlot(table, last, &Shot::owner), 1);
    EXPECT_EQ(last, 2);
    table[1].owner = 0;
    table[2].owner = kFreeSlot;
    EXPECT_EQ(allocateSlot(table, last, &Shot::owner), 2);
    EXPECT_EQ(last, 2);
}

TEST(SlotRule, FreeingTheTopLowersTheBoundByExactlyOne) {
    std::vector<Asteroid> table(5);
    std::int16_t last = 3;
    table[0].size = table[3].size = 1;
    releaseSlot(table, last, &Asteroid::size, 3);
    EXPECT_EQ(last, 2);
    EXPECT_EQ(table[3].size, kFreeSlot);
    releaseSlot(table, last, &Asteroid::size, 0);
    EXPECT_EQ(last, 2);
}

TEST(SlotRule, AFullTableRefusesANewEntry) {
    std::vector<Asteroid> table(3);
    std::int16_t last = 2;
    table[0].size = table[1].size = table[2].size = 1;
    EXPECT_EQ(allocateSlot(table, last, &Asteroid::size), -1);
    EXPECT_EQ(last, 2);
}

TEST(KeyNames, NamedKeysLettersAndDigits) {
    struct Case {
        const char* name;
        std::int16_t code;
        const char* lowered;
    };
    const Case cases[] = {{"up", 38, "up"},
                          {"Down", 40, "down"},
                          {"LEFT", 37, "left"},
                          {"right", 39, "right"},
                          {"Space", 32, "space"},
                          {"control", 17, "control"},
                          {"Return", 13, "return"},
                          {"a", 65, "a"},
                          {"A", 65, "a"},
                          {"apple", 65, "apple"},
                          {"shift", 83, "shift"},
                          {"1", 49, "1"},
                          {"", 0, ""}};
    for (const Case& c : cases) {
        std::string name = c.name;
        EXPECT_EQ(keyCodeFromName(name), c.code) << c.name;
        EXPECT_EQ(name, c.lowered);
    }
}

class LoadingTest : public WorldTest {};

TEST_F(LoadingTest, TheEffectListEndsAtItsEndLineOrTheEndOfTheFile) {
    std::ofstream(folder / "effects" / "effect list.txt", std::ios::binary)
        << "player.txt\r\npickup.txt\r\nEND\r\nmissing.txt\r\n";
    loadEffectList();
    EXPECT_NE(emitter.getEffect("pickup.txt", 0), nullptr);
    EXPECT_EQ(emitter.getEffect("", 2), nullptr);

    std::ofstream(folder / "effects" / "effect list.txt", std::ios::binary)
        << "player.txt\r\npickup.txt";
    loadEffectList();
    EXPECT_EQ(emitter.getEffect("", 1)->sName, "pickup.txt");
    EXPECT_EQ(globals.globalFade, 1);
}

TEST_F(LoadingTest, AnUnreadableEffectIsReportedWithItsFile) {
    std::ofstream(folder / "effects" / "effect list.txt", std::ios::binary)
        << "player.txt\r\nmissing.txt\r\nEND\r\n";
    try {
        loadEffectList();
        FAIL() << "no error";
    } catch (const DataError& error) {
        EXPECT_NE(error.file().find("missing.txt"), std::string::npos) << error.what();
    }
}

TEST_F(LoadingTest, PlayersGetTheirBindingsAndAFreshShip) {
    loadShips({{"up", "down", "left", "right", "space"}, {"W", "s", "a", "d", "Control"}});
    ASSERT_EQ(world.lastShip, 1);
    EXPECT_EQ(ship(0).keyUp, 38);
    EXPECT_EQ(ship(0).keyFire, 32);
    EXPECT_EQ(ship(1).keyUp, 87);
    EXPECT_EQ(ship(1).keyLeft, 65);
    EXPECT_EQ(ship(1).keyFire, 17);
    for (int i : {0, 1}) {
        const clsParticle& body = ship(i).particle;
        EXPECT_EQ(body.sName, "player");
        EXPECT_EQ(body.damage, 100);
        EXPECT_EQ(body.colourR.getValue(0), 155);
        EXPECT_EQ(body.colourG.getValue(0), 255);
        EXPECT_EQ(body.colourB.getValue(0), 0);
        EXPECT_GE(body.dblX, 256);
        EXPECT_LT(body.dblX, 768);
        EXPECT_GE(body.dblY, 192);
        EXPECT_LT(body.dblY, 576);
        EXPECT_GE(body.dblAngle, 8 * std::numbers::pi);
        EXPECT_LT(body.dblAngle, 10 * std::numbers::pi);
        EXPECT_EQ(ship(i).weapon1Level, 1);
        EXPECT_EQ(ship(i).weapon2Level, 0);
        EXPECT_EQ(ship(i).weapon3Level, 0);
    }
    EXPECT_EQ(world.playerEffect, emitter.getEffect("player.txt"));
}

TEST_F(LoadingTest, HeadingThenPositionAreDrawnInThatOrder) {
    seedRandom(42);
    double angle = 2 * std::numbers::pi * rnd() + 8 * std::numbers::pi;
    double x = 512 * rnd() + 256;
    double y = 384 * rnd() + 192;
    seedRandom(42);
    loadOneShip();
    EXPECT_NEAR(ship().particle.dblAngle, angle, 1e-12);
    EXPECT_DOUBLE_EQ(ship().particle.dblX, x);
    EXPECT_DOUBLE_EQ(ship().particle.dblY, y);
}

TEST_F(LoadingTest, RecreatedShipsKeepTheirHeldKeysAndEngineTimer) {
    loadOneShip();
    ship().fireHeld = true;
    ship().engineTimer = 0.01f;
    ship().weapon2Level = 3;
    ship().particle.damage = 12;
    loadOneShip();
    EXPECT_TRUE(ship().fireHeld);
    EXPECT_EQ(ship().engineTimer, 0.01f);
    EXPECT_EQ(ship().weapon2Level, 0);
    EXPECT_EQ(ship().particle.damage, 100);
    EXPECT_EQ(world.lastShip, 0);
}

TEST_F(LoadingTest, ClearingLeavesOlderSlotsForReuse) {
    placeAsteroid(0, 1, 5, 5);
    placeAsteroid(1, 2, 5, 5);
    spawnPickup(1, 1);
    clearAsteroidsAndPickups();
    EXPECT_EQ(world.lastAsteroid, -1);
    EXPECT_EQ(world.lastPickup, -1);
    EXPECT_EQ(world.asteroids[0].size, kFreeSlot);
    EXPECT_EQ(world.asteroids[1].size, 2);
    world.shots[0].owner = 0;
    world.lastShot = 0;
    clearProjectiles();
    EXPECT_EQ(world.lastShot, -1);
    EXPECT_EQ(world.shots[0].owner, kFreeSlot);
}

class FullTableTest : public WorldTest {};

TEST_F(FullTableTest, ATenThousandAndSecondAsteroidOrShotIsDropped) {
    loadOneShip();
    for (int k = 0; k < kWorldSlots; ++k) {
        world.asteroids[k].size = 3;
        world.shots[k].owner = 0;
    }
    world.lastAsteroid = kWorldSlots - 1;
    world.lastShot = kWorldSlots - 1;
    spawnAsteroid(-1, "asteroid1_1.txt");
    EXPECT_EQ(world.lastAsteroid, kWorldSlots - 1);
    fireWeapon(0, "weapon1_1.txt", 5);
    EXPECT_EQ(world.lastShot, kWorldSlots - 1);

    world.asteroids[17].size = kFreeSlot;
    spawnAsteroid(-1, "asteroid1_1.txt");
    EXPECT_EQ(world.asteroids[17].size, 1);
}

} // namespace
} // namespace vastorim::testing
