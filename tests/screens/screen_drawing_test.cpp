#include "engine/background_jobs.h"
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
#include "screens/game_over.h"
#include "screens/high_scores.h"
#include "screens/menu_draw.h"
#include "screens/menu_state.h"
#include "support/loopback_server.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

namespace vastorim {
namespace {

// The in-game display and the menus drawn on the offscreen surface with the game font.
class ScreenDrawing : public ::testing::Test {
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
    }
    void TearDown() override {
        onlineEnabled = false;
        resetMusicClock();
        resetWorld();
        resetGlobalState();
        setCurrentVideo(nullptr);
        setCurrentPlatform(nullptr);
    }

    template <class Draw> void draw(Draw drawing) {
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
                level =
                    std::max({level, static_cast<int>(pixel >> 16 & 0xff),
                              static_cast<int>(pixel >> 8 & 0xff), static_cast<int>(pixel & 0xff)});
            }
        }
        return level;
    }
    int clock() const { return brightest(20, 724, 200, 768); }
    int band(int top, int bottom) const { return brightest(0, top, 1024, bottom); }

    platform::Platform platform = platform::createHeadlessPlatform(16);
    std::vector<std::uint32_t> pixels;
};

TEST_F(ScreenDrawing, WhilePlayingOnlyTheClockIsShown) {
    globals.gameMode = 1;
    globals.gameStartTick = 1000;
    globals.gameClockTick = 84450;
    draw(drawHud);
    EXPECT_EQ(clock(), 255);
    EXPECT_EQ(band(240, 720), 0);
}

TEST_F(ScreenDrawing, TheClockAndGameOverTextCrossFadeWithHalvesRoundedToEven) {
    globals.gameMode = 1;
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
}

TEST_F(ScreenDrawing, AHighScoreShowsThePlaceAndTheNameLineWithABlinkingCursor) {
    globals.gameMode = 1;
    globals.finalTime = 85000;
    globals.globalFade = 0;
    globals.frameTime = 0.3f;
    world.scorePlace = 2;
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

TEST_F(ScreenDrawing, WhileTheTableIsOnItsWayTheTimeShowsWithAWaitingLine) {
    test::LoopbackServer silent([](const std::string&) { return std::optional<std::string>(); });
    setenv("VASTORIM_SERVER", silent.base().c_str(), 1);
    globals.gameMode = 1;
    globals.finalTime = 85000;
    globals.globalFade = 0;
    placeFinalTime(globals.finalTime);
    draw(drawHud);
    stopBackgroundJobs();
    unsetenv("VASTORIM_SERVER");
    EXPECT_EQ(band(250, 295), 0) << "no place yet";
    EXPECT_EQ(band(300, 330), 255) << "the time at 300";
    EXPECT_EQ(brightest(0, 330, 400, 380), 255) << "a line wider than Game Over below it";
    EXPECT_EQ(band(400, 440), 0) << "no name line";
}

TEST(Cursor, ShowsForHalfASecondAndNotOnAFullName) {
    EXPECT_EQ(cursorText("ANNA", 0.0f), "_");
    EXPECT_EQ(cursorText("ANNA", 0.49f), "_");
    EXPECT_EQ(cursorText("ANNA", 0.5f), " ");
    EXPECT_EQ(cursorText("ABCDEFGHI", 0.2f), "_");
    EXPECT_EQ(cursorText("ABCDEFGHIJ", 0.2f), "");
}

TEST_F(ScreenDrawing, TheMainMenuShowsTitleAndItemsAtTheirBrightness) {
    menu.itemBrightness[4] = 0.5f;
    draw(drawMenu);
    EXPECT_EQ(band(180, 250), 255);
    EXPECT_EQ(band(250, 450), 255);
    EXPECT_NEAR(band(450, 500), 128, 1);
    EXPECT_EQ(band(500, 768), 0);
}

TEST_F(ScreenDrawing, OnlineTheTableRowsAppearOnePerBeatTheNewestDimmed) {
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
