#include "two_players_fixture.h"

#include "screens/menu.h"
#include "screens/menu_state.h"

namespace vastorim {
namespace {

constexpr int keyReturn = 13, keySpace = 32, keyDown = 40;

class Menu : public TwoPlayers {
  protected:
    void SetUp() override {
        TwoPlayers::SetUp();
        world.ships[0].keyFire = keySpace;
        world.ships[1].keyFire = 'F';
    }
    void keys(std::initializer_list<int> codes) {
        for (int code : codes) {
            menuKey(code);
        }
    }
};

TEST_F(Menu, EveryPlayersFireKeySelectsLikeReturn) {
    keys({keyDown, keySpace});
    EXPECT_EQ(globals.menuScreen, 1);
    keys({'F'});
    EXPECT_EQ(globals.menuScreen, 0);
    keys({keyDown, keyDown, 'G'});
    EXPECT_EQ(globals.menuScreen, 0);
    EXPECT_EQ(globals.menuCursor, 2);
}

TEST_F(Menu, TheFirstItemResumesASuspendedGameWithoutCountingThePause) {
    globals.gamePaused = true;
    globals.gameStartTick = 1000;
    globals.pauseTick = 5000;
    globals.gameClockTick = 35000;
    keys({keyReturn});
    EXPECT_EQ(globals.gameMode, 1);
    EXPECT_FALSE(globals.gamePaused);
    EXPECT_EQ(globals.gameClockTick - globals.gameStartTick, 4000);
    EXPECT_EQ(globals.menuCursor, 0);
}

TEST_F(Menu, TheSelectedItemDimsToHalfAndTheOthersReturnToFull) {
    globals.frameTime = 0.05f;
    globals.menuCursor = 2;
    for (int frame = 0; frame < 6; ++frame) {
        fadeMenuItems();
    }
    EXPECT_EQ(menu.itemBrightness[2], 0.5f);
    EXPECT_EQ(menu.itemBrightness[1], 1.0f);

    globals.menuCursor = 3;
    for (int frame = 0; frame < 5; ++frame) {
        fadeMenuItems();
    }
    EXPECT_NEAR(menu.itemBrightness[2], 0.75f, 1e-5);
    for (int frame = 0; frame < 5; ++frame) {
        fadeMenuItems();
    }
    EXPECT_EQ(menu.itemBrightness[2], 1.0f);
}

} // namespace
} // namespace vastorim
