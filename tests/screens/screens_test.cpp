// The screens from a clean start: keys in the menus and in play, the menus and the in-game
// display drawn on the offscreen surface with the game font.
#include "engine/font.h"
#include "engine/game_setup.h"
#include "engine/music_clock.h"
#include "engine/platform_access.h"
#include "engine/renderer.h"
#include "engine/startup.h"
#include "game/world_tables.h"
#include "platform/platform.h"
#include "platform/video.h"
#include "screens/game_hooks.h"
#include "screens/game_hud.h"
#include "screens/game_keys.h"
#include "screens/game_over.h"
#include "screens/menu.h"
#include "screens/menu_draw.h"
#include "screens/menu_state.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>
#include <vector>

namespace vastorim {
namespace {

constexpr int keyReturn = 13, keyEscape = 27, keySpace = 32, keyLeft = 37, keyUp = 38,
              keyRight = 39, keyDown = 40;

// Two players, on the arrow keys and space and on W, S, A, D and F; everything is put back
// afterwards.
class Screens : public ::testing::Test {
  protected:
    void SetUp() override {
        platform.video->open();
        setCurrentPlatform(&platform);
        setCurrentVideo(platform.video.get());
        resetRenderState();
        resetGlobalState();
        resetWorld();
        resetScreens();
        resetMusicClock();
        createGameFont();
        world.ships.resize(2);
        world.lastShip = 1;
        bind(world.ships[0], keyUp, keyDown, keyLeft, keyRight, keySpace);
        bind(world.ships[1], 'W', 'S', 'A', 'D', 'F');
    }
    void TearDown() override {
        onlineEnabled = false;
        resetMusicClock();
        resetWorld();
        resetGlobalState();
        setCurrentVideo(nullptr);
        setCurrentPlatform(nullptr);
    }
    static void bind(Ship& ship, int up, int down, int left, int right, int fire) {
        std::tie(ship.keyUp, ship.keyDown, ship.keyLeft, ship.keyRight, ship.keyFire) =
            std::tuple(up, down, left, right, fire);
    }
    static void fadeMenuFrames(int frames) {
        for (int frame = 0; frame < frames; ++frame) {
            fadeMenuItems();
        }
    }
    void draw(void (*drawing)()) {
        platform.video->clear();
        drawing();
        flushSprites();
        pixels = platform.video->readPixels();
    }
    // The brightest colour channel in the box, 0 when nothing is drawn there.
    int brightest(int left, int top, int right, int bottom) const {
        int level = 0;
        for (int y = top; y < bottom; ++y) {
            for (int x = left; x < right; ++x) {
                const std::uint32_t pixel = pixels[static_cast<std::size_t>(y) * 1024 + x];
                for (int shift : {0, 8, 16}) {
                    level = std::max(level, static_cast<int>(pixel >> shift & 0xff));
                }
            }
        }
        return level;
    }
    int clock() const { return brightest(20, 724, 200, 768); }
    int band(int top, int bottom) const { return brightest(0, top, 1024, bottom); }

    platform::Platform platform = platform::createHeadlessPlatform(16);
    std::vector<std::uint32_t> pixels;
};

TEST_F(Screens, MenuKeysKeepTheCursorOnTheItemsEveryFireKeySelectsAndEscapeGoesBack) {
    struct Step {
        std::vector<int> keys;
        int screen, cursor;
    };
    for (const Step& step :
         {Step{{keyDown, keyDown, keyDown, keyDown, keyDown, keyDown}, 0, 4}, Step{{keyUp}, 0, 3},
          Step{{keyReturn}, 3, -1}, Step{{keyEscape}, 0, 0}, Step{{keyDown, keyDown, 'F'}, 2, -1},
          Step{{keySpace}, 0, 0}, Step{{keyDown, keyReturn}, 1, 0}, Step{{keyUp, keyDown}, 1, 0},
          Step{{keyReturn, keyDown, keyDown, 'G'}, 0, 2}}) {
        for (int key : step.keys) {
            onKeyDown(key);
        }
        EXPECT_EQ(std::pair(int{globals.menuScreen}, int{globals.menuCursor}),
                  std::pair(step.screen, step.cursor))
            << "after the keys " << ::testing::PrintToString(step.keys);
    }
}

TEST_F(Screens, InPlayKeysSetEveryMatchingFlagTheMenuNoneAndTheNameIsTypedAfterGameOver) {
    world.ships[1].keyFire = keySpace;
    globals.gameMode = 1;
    for (int key : {keySpace, keyLeft, int{'S'}}) {
        onKeyDown(key);
    }
    EXPECT_TRUE(world.ships[0].fireHeld && world.ships[1].fireHeld);
    EXPECT_TRUE(world.ships[0].leftHeld && world.ships[1].downHeld);
    EXPECT_FALSE(world.ships[1].leftHeld);
    EXPECT_EQ(globals.playerName, "player");
    onKeyUp(keySpace);
    EXPECT_FALSE(world.ships[0].fireHeld || world.ships[1].fireHeld);
    EXPECT_TRUE(world.ships[0].leftHeld);

    globals.gameMode = 0;
    onKeyUp(keyLeft);
    onKeyDown(keyRight);
    EXPECT_TRUE(world.ships[0].leftHeld) << "the menu clears no flag";
    EXPECT_FALSE(world.ships[0].rightHeld) << "and sets none";

    globals.gameMode = 1;
    globals.finalTime = 5000;
    onKeyDown('A');
    EXPECT_EQ(globals.playerName, "playerA");
    EXPECT_TRUE(world.ships[1].leftHeld);
}

TEST_F(Screens, TheSelectedMenuItemDimsToHalfTheOthersReturnToFullAndAreDrawnSo) {
    globals.frameTime = 0.05f;
    globals.menuCursor = 4;
    fadeMenuFrames(6);
    EXPECT_EQ(menu.itemBrightness[4], 0.5f);
    EXPECT_EQ(menu.itemBrightness[3], 1.0f);
    draw(drawMenu);
    EXPECT_EQ(band(180, 250), 255) << "the title";
    EXPECT_EQ(band(250, 450), 255);
    EXPECT_NEAR(band(450, 500), 128, 1);
    EXPECT_EQ(band(500, 768), 0);

    globals.menuCursor = 3;
    fadeMenuFrames(5);
    EXPECT_NEAR(menu.itemBrightness[4], 0.75f, 1e-5);
    fadeMenuFrames(5);
    EXPECT_EQ(menu.itemBrightness[4], 1.0f);
}

TEST_F(Screens, TheClockCrossFadesWithGameOverRoundingHalvesToEvenThenAHighScoreAddsPlaceAndName) {
    globals.gameMode = 1;
    globals.gameStartTick = 1000;
    globals.gameClockTick = 84450;
    draw(drawHud);
    EXPECT_EQ(clock(), 255);
    EXPECT_EQ(band(240, 720), 0) << "in play only the clock shows";

    globals.finalTime = 30000;
    globals.globalFade = 0.5f;
    draw(drawHud);
    EXPECT_NEAR(clock(), 128, 1);
    EXPECT_NEAR(band(300, 400), 128, 1);
    EXPECT_EQ(band(240, 295), 0) << "Game Over starts at 300";
    globals.globalFade = 0;
    draw(drawHud);
    EXPECT_EQ(clock(), 0);
    EXPECT_EQ(band(300, 400), 255);

    world.scorePlace = 2;
    globals.frameTime = 0.3f;
    draw(drawHud);
    EXPECT_EQ(band(250, 290), 255) << "High Score starts at 250";
    EXPECT_EQ(band(400, 440), 255) << "the name line";
    EXPECT_FLOAT_EQ(gameOver.cursorBlink, 0.3f);
    draw(drawHud);
    draw(drawHud);
    EXPECT_FLOAT_EQ(gameOver.cursorBlink, 0.9f);
    draw(drawHud);
    EXPECT_EQ(gameOver.cursorBlink, 0.0f) << "past a second the phase starts again";
}

TEST_F(Screens, OnlineTheTableRowsAppearOnePerBeatTheNewestDimmed) {
    onlineEnabled = true;
    globals.menuScreen = 1;
    music.beatFlag = true;
    for (int pulse = 0; pulse < 10; ++pulse) {
        draw(drawMenu);
    }
    EXPECT_EQ(globals.screenStep, 10);
    EXPECT_FLOAT_EQ(menu.itemBrightness[1], 0.4f);
    EXPECT_EQ(band(140, 590), 255);
    EXPECT_NEAR(band(590, 640), 102, 1) << "the newest row at 0.4";
    draw(drawMenu);
    EXPECT_EQ(globals.screenStep, 11);
    EXPECT_EQ(band(590, 640), 255) << "once all ten are shown, every row is full";
}

} // namespace
} // namespace vastorim
