#include "world_fixture.h"

#include "engine/mod_dx8_sound.h"
#include "engine/mod_game_load.h"
#include "engine/mod_vbp_start.h"
#include "game/mod_game_update.h"
#include "particles/clsEmitter.h"

namespace vastorim::testing {
namespace {

class GameStateTest : public WorldTest {
  protected:
    void SetUp() override {
        WorldTest::SetUp();
        loadOneShip();
        setBeats(false, false, false, false);
        globals.frameTime = 0;
        globals.gameMode = 1;
    }
};

TEST_F(GameStateTest, TheBackgroundGlowTurnsRedWithDamage) {
    ship().particle.damage = 40;
    setBeats(false, false, false, true);
    updateWorld();
    ASSERT_EQ(liveCount("background"), 4);
    for (std::int16_t i = 0; i < emitter.getParticles(); ++i) {
        const clsParticle* glow = emitter.getParticle(i);
        if (glow->sName == "background") {
            EXPECT_NEAR(glow->colourR.getValue(0), 153, 1e-4);
            EXPECT_NEAR(glow->colourG.getValue(0), 102, 1e-4);
        }
    }
}

TEST_F(GameStateTest, AMeanHealthBelowZeroGlowsFullyRed) {
    loadShips({{"up", "down", "left", "right", "space"}, {"w", "s", "a", "d", "control"}});
    ship(0).particle.damage = -30;
    ship(1).particle.damage = 20;
    setBeats(false, false, false, true);
    updateWorld();
    const clsParticle* glow = firstLive("background");
    ASSERT_NE(glow, nullptr);
    EXPECT_EQ(glow->colourR.getValue(0), 255);
    EXPECT_EQ(glow->colourG.getValue(0), 0);
    // The dying ship explodes on the same beat, after the glow was tinted.
    EXPECT_EQ(ship(0).particle.damage, 0);
    EXPECT_EQ(liveCount("explode_ship"), 1);
}

TEST_F(GameStateTest, TheGameEndsWhenTheShipsTotalHealthIsUsedUp) {
    loadShips({{"up", "down", "left", "right", "space"}, {"w", "s", "a", "d", "control"}});
    globals.gameStartTick = 1000;
    globals.gameClockTick = 4500;
    ship(0).particle.damage = 2;
    ship(1).particle.damage = -1;
    updateWorld();
    EXPECT_EQ(globals.finalTime, 0);
    EXPECT_EQ(globals.globalFade, 1);

    ship(0).particle.damage = 1;
    ship(1).particle.damage = -3;
    globals.frameTime = 0.5f;
    updateWorld();
    EXPECT_EQ(globals.finalTime, 3500);
    EXPECT_EQ(world.scorePlace, -1);
    EXPECT_FLOAT_EQ(globals.globalFade, 0.95f);

    globals.gameClockTick = 9000; // the loop would have frozen it; the final time stays
    for (int frame = 0; frame < 30; ++frame) {
        updateWorld();
    }
    EXPECT_EQ(globals.finalTime, 3500);
    EXPECT_EQ(globals.globalFade, 0);
}

TEST_F(GameStateTest, TheFinalTimeIsPlacedOnlyWhenOnline) {
    int asked = 0;
    world.placeFinalTime = [&](std::int32_t finalTime) {
        ++asked;
        return static_cast<std::int16_t>(finalTime == 2500 ? 3 : 9);
    };
    globals.gameStartTick = 500;
    globals.gameClockTick = 3000;
    endGame();
    EXPECT_EQ(world.scorePlace, -1);
    EXPECT_EQ(asked, 0);
    onlineEnabled = true;
    endGame();
    EXPECT_EQ(world.scorePlace, 3);
    EXPECT_EQ(asked, 1);
}

TEST_F(GameStateTest, PausingAndResumingKeepsTheSurvivalTime) {
    globals.gameStartTick = 1000;
    globals.gameClockTick = 6000;
    ship().upHeld = ship().fireHeld = ship().leftHeld = true;
    suspendOrLeaveGame();
    EXPECT_EQ(globals.gameMode, 0);
    EXPECT_TRUE(globals.gamePaused);
    EXPECT_EQ(globals.pauseTick, 6000);
    EXPECT_FALSE(ship().upHeld || ship().fireHeld || ship().leftHeld);

    globals.gameClockTick = 36000; // thirty seconds in the menu
    resumeGame();
    EXPECT_EQ(globals.gameMode, 1);
    EXPECT_FALSE(globals.gamePaused);
    EXPECT_EQ(globals.gameClockTick - globals.gameStartTick, 5000);
}

TEST_F(GameStateTest, EscapeDuringTheFadeLeavesTheGameForGood) {
    globals.finalTime = 3000;
    globals.globalFade = 0.6f;
    suspendOrLeaveGame();
    EXPECT_EQ(globals.gameMode, 0);
    EXPECT_FALSE(globals.gamePaused);
    EXPECT_EQ(globals.globalFade, 1);
}

TEST_F(GameStateTest, StartingAGameResetsTheWorldAndTheClock) {
    globals.gameMode = 0;
    globals.finalTime = 1234;
    globals.globalFade = 0.3f;
    ship().weapon1Level = 4;
    ship().weapon3Level = 2;
    ship().particle.damage = -7;
    ship().fireHeld = true;
    placeAsteroid(0, 2, 10, 10);
    placeAsteroid(5, 3, 10, 10);
    spawnPickup(5, 5);
    world.lastShot = 40;

    startGame();
    EXPECT_EQ(globals.gameMode, 1);
    EXPECT_FALSE(globals.gamePaused);
    EXPECT_EQ(globals.finalTime, 0);
    EXPECT_EQ(globals.globalFade, 1);
    EXPECT_EQ(globals.gameStartTick, globals.gameClockTick);
    EXPECT_EQ(world.lastShot, -1);
    EXPECT_EQ(world.lastPickup, -1);
    ASSERT_EQ(world.lastAsteroid, 1);
    for (int k : {0, 1}) {
        EXPECT_EQ(world.asteroids[k].size, 1);
        const std::string& name = world.asteroids[k].particle.sName;
        EXPECT_TRUE(name == "asteroid1_1" || name == "asteroid1_2") << name;
    }
    EXPECT_EQ(ship().weapon1Level, 1);
    EXPECT_EQ(ship().weapon3Level, 0);
    EXPECT_EQ(ship().particle.damage, 100);
    EXPECT_TRUE(ship().fireHeld); // held keys survive the re-creation
}

TEST_F(GameStateTest, APlayingFrameTakesEveryStepInOrder) {
    placeAsteroid(0, 3, 600, 600);
    world.asteroids[0].particle.lngKillat = 0;
    world.asteroids[0].particle.damage = 0;
    ship().fireHeld = true;
    ship().particle.dblX = 100;
    ship().particle.dblY = 100;
    setBeats(false, true, false, false);
    fireWeapons();
    updateAsteroids();
    updateWorld();
    expirePickups();
    EXPECT_EQ(world.lastShot, 0);
    EXPECT_EQ(world.asteroids[0].size, kFreeSlot);
    EXPECT_EQ(liveCount("explode_small"), 1);
}

} // namespace
} // namespace vastorim::testing
