#include "engine/startup.h"
#include "game/world_tables.h"
#include "screens/game_hooks.h"
#include "screens/game_keys.h"
#include "screens/menu.h"
#include "screens/menu_state.h"

#include <gtest/gtest.h>

#include <tuple>
#include <vector>

namespace vastorim {
namespace {

constexpr int keyReturn = 13, keyEscape = 27, keySpace = 32, keyLeft = 37, keyUp = 38,
              keyRight = 39, keyDown = 40;

// The screens from a clean start with two players, on the arrow keys and space and on W, S, A,
// D and F; the world and the globals are put back afterwards.
class TwoPlayers : public ::testing::Test {
  protected:
    void SetUp() override {
        resetGlobalState();
        resetWorld();
        resetScreens();
        world.ships.resize(2);
        world.lastShip = 1;
        bind(world.ships[0], keyUp, keyDown, keyLeft, keyRight, keySpace);
        bind(world.ships[1], 'W', 'S', 'A', 'D', 'F');
        globals.playerName = "player";
    }
    void TearDown() override {
        resetWorld();
        resetGlobalState();
    }
    static void bind(Ship& ship, int up, int down, int left, int right, int fire) {
        std::tie(ship.keyUp, ship.keyDown, ship.keyLeft, ship.keyRight, ship.keyFire) =
            std::tuple(up, down, left, right, fire);
    }
    static void press(const std::vector<int>& codes) {
        for (int code : codes) {
            onKeyDown(code);
            onKeyUp(code);
        }
    }
};

TEST_F(TwoPlayers, MenuKeysKeepTheCursorOnTheItemsEveryFireKeySelectsAndEscapeGoesBack) {
    struct Step {
        std::vector<int> keys;
        int screen, cursor;
    };
    for (const Step& step :
         {Step{{keyDown, keyDown, keyDown, keyDown, keyDown, keyDown}, 0, 4}, Step{{keyUp}, 0, 3},
          Step{{keyReturn}, 3, -1}, Step{{keyEscape}, 0, 0}, Step{{keyDown, keyDown, 'F'}, 2, -1},
          Step{{keySpace}, 0, 0}, Step{{keyDown, keyReturn}, 1, 0}, Step{{keyUp, keyDown}, 1, 0},
          Step{{keyReturn, keyDown, keyDown, 'G'}, 0, 2}}) {
        press(step.keys);
        EXPECT_EQ(globals.menuScreen, step.screen) << step.keys.size() << " keys";
        EXPECT_EQ(globals.menuCursor, step.cursor) << step.keys.size() << " keys";
    }
}

TEST_F(TwoPlayers, InPlayAKeySetsEveryMatchingFlagOfEveryPlayerAndTypesOnlyAfterGameOver) {
    world.ships[1].keyFire = keySpace;
    globals.gameMode = 1;
    for (int key : {keySpace, keyLeft, int{'S'}, keyUp}) {
        onKeyDown(key);
    }
    EXPECT_TRUE(world.ships[0].fireHeld && world.ships[1].fireHeld);
    EXPECT_TRUE(world.ships[0].leftHeld && world.ships[1].downHeld);
    EXPECT_FALSE(world.ships[1].leftHeld);
    EXPECT_EQ(globals.playerName, "player");
    onKeyUp(keySpace);
    EXPECT_FALSE(world.ships[0].fireHeld || world.ships[1].fireHeld);
    EXPECT_TRUE(world.ships[0].leftHeld);

    globals.finalTime = 5000;
    onKeyDown('A');
    EXPECT_EQ(globals.playerName, "playerA");
    EXPECT_TRUE(world.ships[1].leftHeld);
}

TEST_F(TwoPlayers, TheMenuNeitherSetsNorClearsHeldFlags) {
    globals.gameMode = 1;
    onKeyDown(keyUp);
    globals.gameMode = 0;
    onKeyUp(keyUp);
    onKeyDown(keyRight);
    EXPECT_TRUE(world.ships[0].upHeld);
    EXPECT_FALSE(world.ships[0].rightHeld);
}

TEST_F(TwoPlayers, TheSelectedMenuItemDimsToHalfAndTheOthersReturnToFull) {
    globals.frameTime = 0.05f;
    globals.menuCursor = 2;
    const auto fadeFrames = [](int frames) {
        for (int frame = 0; frame < frames; ++frame) {
            fadeMenuItems();
        }
    };
    fadeFrames(6);
    EXPECT_EQ(menu.itemBrightness[2], 0.5f);
    EXPECT_EQ(menu.itemBrightness[1], 1.0f);
    globals.menuCursor = 3;
    fadeFrames(5);
    EXPECT_NEAR(menu.itemBrightness[2], 0.75f, 1e-5);
    fadeFrames(5);
    EXPECT_EQ(menu.itemBrightness[2], 1.0f);
}

} // namespace
} // namespace vastorim
