#include "two_players_fixture.h"

#include "screens/game_keys.h"

namespace vastorim {
namespace {

constexpr int keySpace = 32, keyLeft = 37, keyUp = 38, keyRight = 39, keyDown = 40;

class GameKeys : public TwoPlayers {
  protected:
    void SetUp() override {
        TwoPlayers::SetUp();
        bind(world.ships[0], keyUp, keyDown, keyLeft, keyRight, keySpace);
        // Player two shares the fire key and binds W/A/S/D.
        bind(world.ships[1], 'W', 'S', 'A', 'D', keySpace);
        world.ships[0].particle.damage = 100;
        globals.gameMode = 1;
        globals.playerName = "player";
    }
    static void bind(Ship& ship, int up, int down, int left, int right, int fire) {
        ship.keyUp = up;
        ship.keyDown = down;
        ship.keyLeft = left;
        ship.keyRight = right;
        ship.keyFire = fire;
    }
};

TEST_F(GameKeys, KeyDownSetsEveryMatchingFlagOfEveryPlayer) {
    onKeyDown(keySpace);
    onKeyDown(keyLeft);
    onKeyDown('S');
    EXPECT_TRUE(world.ships[0].fireHeld);
    EXPECT_TRUE(world.ships[1].fireHeld);
    EXPECT_TRUE(world.ships[0].leftHeld);
    EXPECT_FALSE(world.ships[1].leftHeld);
    EXPECT_TRUE(world.ships[1].downHeld);
    onKeyUp(keySpace);
    EXPECT_FALSE(world.ships[0].fireHeld);
    EXPECT_FALSE(world.ships[1].fireHeld);
    EXPECT_TRUE(world.ships[0].leftHeld);
}

TEST_F(GameKeys, TheMenuNeitherSetsNorClearsHeldFlags) {
    onKeyDown(keyUp);
    globals.gameMode = 0;
    onKeyUp(keyUp);
    EXPECT_TRUE(world.ships[0].upHeld);
    onKeyDown(keyLeft);
    EXPECT_FALSE(world.ships[0].leftHeld);
}

TEST_F(GameKeys, NameEntryTypesOnlyAfterGameOverAndKeysStillAct) {
    onKeyDown('W');
    EXPECT_EQ(globals.playerName, "player");
    globals.finalTime = 5000;
    onKeyDown(keyUp);
    onKeyDown('A');
    onKeyDown('O');
    EXPECT_EQ(globals.playerName, "playerAO");
    EXPECT_TRUE(world.ships[1].leftHeld);
}

} // namespace
} // namespace vastorim
