#include "world_fixture.h"

namespace vastorim::testing {
namespace {

using GameStateTest = WorldTest;

TEST_F(GameStateTest, TheBackgroundGlowTurnsFromGreenToRedWithTheMeanHealth) {
    ship().particle.damage = 40;
    setBeats(false, false, false, true);
    updateWorld();
    ASSERT_EQ(live("background").size(), 4u);
    loadShips(2);
    ship(0).particle.damage = -30;
    ship(1).particle.damage = 20;
    // Dead slots lower down scatter the new glow: slots 1 and 3 of the old one are reused.
    for (std::int16_t i = 0; i < emitter.getParticles(); ++i) {
        emitter.getParticle(i)->age = 1;
    }
    emitter.getParticle(1)->killAt = -1;
    emitter.getParticle(3)->killAt = -1;
    updateWorld();
    std::vector<int> red; // the mean of -30 and 20 counts as no health
    for (std::int16_t i = 0; i < emitter.getParticles(); ++i) {
        if (emitter.getParticle(i)->colourG.getValue(0) == 0) {
            red.push_back(i);
        }
    }
    EXPECT_EQ(red, (std::vector<int>{1, 3, 4, 5}));
    EXPECT_EQ(emitter.getParticle(5)->colourR.getValue(0), 255);
    const Particle& old = *emitter.getParticle(2);
    EXPECT_NEAR(old.colourR.getValue(0), 153, 1e-4) << "the old glow, at 40 health";
    EXPECT_NEAR(old.colourG.getValue(0), 102, 1e-4);
}

TEST_F(GameStateTest, TheGameEndsWhenTheShipsTotalHealthIsUsedUpAndTheScreenFades) {
    loadShips(2);
    world.placeFinalTime = [](std::int32_t finalTime) {
        world.scorePlace = static_cast<std::int16_t>(finalTime == 3500 ? 3 : 9);
    };
    globals.gameStartTick = 1000;
    globals.gameClockTick = 4500;
    globals.frameTime = 0.5f;
    ship(0).particle.damage = 2;
    ship(1).particle.damage = -1;
    updateWorld();
    EXPECT_EQ(globals.finalTime, 0);
    EXPECT_EQ(globals.globalFade, 1);
    ship(0).particle.damage = 1;
    ship(1).particle.damage = -3;
    updateWorld();
    EXPECT_EQ(globals.finalTime, 3500);
    EXPECT_EQ(world.scorePlace, -1) << "placed only when online";
    EXPECT_FLOAT_EQ(globals.globalFade, 0.95f);
    onlineEnabled = true;
    endGame();
    EXPECT_EQ(world.scorePlace, 3);
}

TEST_F(GameStateTest, EscapeInPlayPausesAtTheGameClockAndReleasesTheHeldKeys) {
    globals.gameMode = 1;
    globals.gameClockTick = 6000;
    ship().upHeld = ship().fireHeld = ship().leftHeld = true;
    suspendOrLeaveGame();
    EXPECT_EQ(std::tuple(globals.gameMode, globals.gamePaused, globals.pauseTick),
              std::tuple(0, true, 6000));
    EXPECT_FALSE(ship().upHeld || ship().fireHeld || ship().leftHeld);
}

TEST_F(GameStateTest, TheMostPlayersTheSetupAllowsAllFireGetHitAndMove) {
    loadShips(32768);
    Ship& last = ship(32767);
    last.fireHeld = true;
    putAt(last.particle, 100, 100); // away from where the other ships start
    placeAsteroid(0, 3, 100, 100);
    setBeats(true, true, true, false);
    fireWeapons();
    hitShipsWithAsteroid(0);
    updateWorld();
    EXPECT_EQ(world.shots[0].owner, 32767);
    EXPECT_EQ(last.particle.damage, 96) << "hit by the small asteroid";
}

TEST_F(GameStateTest, ABlankLineInTheEffectListNamesTheListAndTheLine) {
    folder.write("effects/effect list.txt", "player.txt\r\n\r\nEND\r\n");
    EXPECT_EQ(test::errorOf(loadEffectList), folder.file("effects/effect list.txt") + ":2: ");
}

TEST(KeyNames, NamedKeysAndFirstCharacters) {
    using Case = std::tuple<const char*, std::int16_t, const char*>;
    for (const auto& [written, code, lowered] :
         {Case{"Down", 40, "down"}, Case{"control", 17, "control"}, Case{"apple", 65, "apple"},
          Case{"", 0, ""}}) {
        std::string name = written;
        EXPECT_EQ(keyCodeFromName(name), code) << written;
        EXPECT_EQ(name, lowered);
    }
}

TEST_F(GameStateTest, LowestFreeSlotFirstThenTheBoundGrowsAndAFullTableDropsTheNewEntry) {
    std::vector<Shot> table(3);
    std::int16_t last = -1;
    EXPECT_EQ(allocateSlot(table, last, &Shot::owner), 0);
    EXPECT_EQ(last, 0);
    table[0].owner = table[2].owner = 0;
    last = 2;
    EXPECT_EQ(allocateSlot(table, last, &Shot::owner), 1);
    EXPECT_EQ(last, 2);
    table[1].owner = kFreeSlot;
    releaseSlot(table, last, &Shot::owner, 2);
    EXPECT_EQ(last, 1) << "releasing the top lowers the bound by exactly one";

    for (int k = 0; k < kWorldSlots; ++k) {
        world.asteroids[k].size = 3;
        world.shots[k].owner = 0;
    }
    world.lastAsteroid = world.lastShot = kWorldSlots - 1;
    spawnAsteroid(-1, "asteroid1_1.txt");
    fireWeapon(0, "weapon1_1.txt", 5);
    EXPECT_EQ(world.lastAsteroid, kWorldSlots - 1);
    EXPECT_EQ(world.lastShot, kWorldSlots - 1);
    world.asteroids[17].size = kFreeSlot;
    spawnAsteroid(-1, "asteroid1_1.txt");
    EXPECT_EQ(world.asteroids[17].size, 1);
}

} // namespace
} // namespace vastorim::testing
