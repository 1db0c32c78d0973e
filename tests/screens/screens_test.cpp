// The screens from a clean start: keys in the menus and in play, the menus and the in-game
// display drawn on the offscreen surface with the game font; the game-over screen's name entry,
// the high-score table's placing and the shown times.
#include "engine/background_jobs.h"
#include "engine/font.h"
#include "engine/game_setup.h"
#include "engine/music_clock.h"
#include "engine/platform_access.h"
#include "engine/renderer.h"
#include "engine/startup.h"
#include "game/world_tables.h"
#include "platform/platform.h"
#include "platform/text.h"
#include "platform/video.h"
#include "screens/game_hooks.h"
#include "screens/game_hud.h"
#include "screens/game_keys.h"
#include "screens/game_over.h"
#include "screens/game_replays.h"
#include "screens/high_scores.h"
#include "screens/menu.h"
#include "screens/menu_draw.h"
#include "screens/menu_state.h"
#include "screens/score_text.h"
#include "support/loopback_server.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include <algorithm>
#include <memory>
#include <tuple>
#include <vector>

namespace vastorim {
namespace {

constexpr int keyBackspace = 8, keyReturn = 13, keyEscape = 27, keySpace = 32, keyLeft = 37,
              keyUp = 38, keyRight = 39, keyDown = 40;

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
    using Step = std::tuple<std::vector<int>, int, int>;
    for (const auto& [keys, screen, cursor] :
         {Step{{keyDown, keyDown, keyDown, keyDown, keyDown, keyDown}, 0, 4}, Step{{keyUp}, 0, 3},
          Step{{keyReturn}, 3, -1}, Step{{keyEscape}, 0, 0}, Step{{keyDown, keyDown, 'F'}, 2, -1},
          Step{{keySpace}, 0, 0}, Step{{keyDown, keyReturn}, 1, 0}, Step{{keyUp, keyDown}, 1, 0},
          Step{{keyReturn, keyDown, keyDown, 'G'}, 0, 2}}) {
        for (int key : keys) {
            onKeyDown(key);
        }
        EXPECT_EQ(std::pair(int{globals.menuScreen}, int{globals.menuCursor}),
                  std::pair(screen, cursor))
            << "after the keys " << ::testing::PrintToString(keys);
    }
}

TEST_F(Screens, InPlayKeysSetEveryMatchingFlagAndTheMenuNone) {
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
}

TEST_F(Screens, TheSelectedMenuItemDimsToHalfTheOthersReturnToFullAndAreDrawnSo) {
    globals.frameTime = 0.05f;
    globals.menuCursor = 4;
    fadeMenuFrames(6);
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
    EXPECT_EQ(band(140, 590), 255);
    EXPECT_NEAR(band(590, 640), 102, 1) << "the newest row at 0.4";
    draw(drawMenu);
    EXPECT_EQ(globals.screenStep, 11);
    EXPECT_EQ(band(590, 640), 255) << "once all ten are shown, every row is full";
}

TEST_F(Screens, WhileTheTableIsOnItsWayTheTimeShowsWithAWaitingLine) {
    test::LoopbackServer silent([](const auto&, auto&) { return false; });
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

// Forwards to the game's text renderer and keeps every text that did not fit its box.
struct FitCheckingText : platform::TextRenderer {
    explicit FitCheckingText(std::unique_ptr<platform::TextRenderer> text)
        : text(std::move(text)) {}
    bool setFace(const std::string& path) override { return text->setFace(path); }
    void setPointSize(int points) override { text->setPointSize(points); }
    platform::TextCacheStats stats() const override { return text->stats(); }
    platform::DrawnText drawText(std::string_view line, const platform::TextBox& box,
                                 platform::TextAlign align, std::uint32_t argb) override {
        const platform::DrawnText drawn = text->drawText(line, box, align, argb);
        ++drawnTexts;
        if (drawn.cutOff) {
            cutOff.emplace_back(line);
        }
        if (drawn.narrowed) {
            narrowed.emplace_back(line);
        }
        return drawn;
    }
    std::unique_ptr<platform::TextRenderer> text;
    int drawnTexts = 0;
    std::vector<std::string> cutOff;
    std::vector<std::string> narrowed;
};

TEST_F(Screens, EveryTextOfEveryScreenFitsItsBoxInTheGameFont) {
    auto checking = std::make_unique<FitCheckingText>(std::move(platform.text));
    FitCheckingText& fit = *checking;
    platform.text = std::move(checking);
    ASSERT_EQ(installFont(VASTORIM_PROGRAM_DIR "/graphics/grapple.ttf"), 1);
    createGameFont();
    // The table's fixed columns take times below 100 seconds and ten capitals but W at full
    // size; longer times and wider names are drawn smaller, and only they.
    highScores.highScoreTimes.fill("123456789");
    highScores.highScoreNames.fill("WWWWWWWWWW");
    std::tie(globals.playerName, globals.screenStep, globals.gameClockTick) =
        std::tuple("WWWWWWWWW", 100, 999990);
    // Screen (menu 0 to 3, or 4 for play), paused, online, fade, place in the table.
    using State = std::tuple<int, bool, bool, float, int>;
    for (const auto& [screen, paused, online, fade, place] :
         {State{0, false, false, 1, -1}, State{0, true, false, 1, -1},
          State{1, false, false, 1, -1}, State{1, false, true, 1, -1},
          State{2, false, false, 1, -1}, State{3, false, false, 1, -1},
          State{4, false, false, 1, -1}, State{4, false, false, 0.5f, -1},
          State{4, false, true, 0, 10}}) {
        SCOPED_TRACE(testing::Message() << "screen " << screen << " fade " << fade);
        std::tie(globals.gameMode, globals.menuScreen, globals.gamePaused, onlineEnabled) =
            std::tuple(screen / 4, screen % 4, paused, online);
        std::tie(globals.globalFade, world.scorePlace) = std::tuple(fade, place);
        globals.finalTime = fade < 1 ? 999990 : 0;
        fit.drawnTexts = 0;
        fit.cutOff.clear();
        fit.narrowed.clear();
        draw(screen < 4 ? drawMenu : drawHud);
        EXPECT_GT(fit.drawnTexts, 0);
        EXPECT_EQ(fit.cutOff, std::vector<std::string>{});
        EXPECT_EQ(fit.narrowed.size(), screen == 1 && online ? 20u : 0u);
        for (const std::string& line : fit.narrowed) {
            EXPECT_TRUE(line == "WWWWWWWWWW" || line.starts_with("1234567")) << line;
        }
    }
}

// Return submits only a changed, non-empty name (the comparison with the default is exact).
TEST(NameEntry, TypesCapitalsDigitsOneToNineAndSpacesUpToTenAndReturnTakesAChangedName) {
    using Case = std::tuple<std::string, std::vector<int>, std::string, bool>;
    for (const auto& [start, keys, typed, submits] :
         {Case{"player", {'A', 'B'}, "playerAB", false},
          Case{"", {'Z', keySpace, '9', '0'}, "Z 9", false},
          Case{"", {'A', 'Z', 91, 27, 17, 37, 40, keyReturn}, "AZ", true},
          Case{"", {'A', 'B', 'C', 'D', 'E', 'F', 'G', 'H', 'I', 'J', 'K'}, "ABCDEFGHIJ", false},
          Case{"ABCDEFGHIJ", {keySpace, keyBackspace, 'X'}, "ABCDEFGHIX", false},
          Case{"A", {keyBackspace, keyBackspace, keyReturn}, "", false},
          Case{"player", {keyReturn}, "player", false},
          Case{"PLAYER", {keyReturn}, "PLAYER", true}}) {
        std::string name = start;
        bool submitted = false;
        for (int key : keys) {
            submitted = editPlayerName(name, key);
        }
        EXPECT_EQ(std::pair(name, submitted), std::pair(typed, submits)) << start;
    }
}

TEST(NameEntry, TheCursorShowsForHalfASecondAndNotOnAFullName) {
    EXPECT_EQ(cursorText("ANNA", 0.0f) + cursorText("ANNA", 0.49f), "__");
    EXPECT_EQ(cursorText("ANNA", 0.5f), " ");
    EXPECT_EQ(cursorText("ABCDEFGHI", 0.2f), "_");
    EXPECT_EQ(cursorText("ABCDEFGHIJ", 0.2f), "");
}

TEST(PlaceInTable, TakesThePlaceOfTheFirstSlowerEntryTiesNeverBeatAndNonNumbersAreFree) {
    using Table = std::array<std::string, 10>;
    const Table descending = {"9000", "8000", "7000", "6000", "5000",
                              "4000", "3000", "2000", "1000", "0"};
    const Table lastSlow = {"5000", "5000", "5000", "5000", "5000",
                            "5000", "5000", "5000", "5000", "3000"};
    const Table gaps = {"9000", "8000", "7000", "6000", "5000", "4000", "", "n/a", "1000", "0"};
    Table notTimes;
    notTimes.fill("00123");
    std::tie(notTimes[0], notTimes[4], notTimes[5], notTimes[6], notTimes[7]) =
        std::tuple("99999999999999999999", "nan", "inf", "12.5", "-5");
    using Case = std::tuple<long, Table, int>;
    for (const auto& [ms, table, place] :
         {Case{85000, descending, 2}, Case{95000, descending, 1}, Case{5, descending, 10},
          Case{0, descending, -1}, Case{90000, descending, 2}, Case{30000, lastSlow, -1},
          Case{30010, lastSlow, 10}, Case{100, gaps, 7}, Case{1, Table{}, 1},
          Case{1230, notTimes, 5}, Case{2147483647, notTimes, 2}}) {
        EXPECT_EQ(placeInTable(ms, table), place) << ms;
    }
}

TEST(ScoreText, TimesInHundredthsRoundHalvesAwayFromZeroWithAtLeastFourDigits) {
    const std::pair<long, const char*> times[] = {
        {0, "00:00"}, {83450, "83:45"}, {100000, "100:00"}, {7543210, "7543:21"}, {990, "00:99"},
        {5, "00:01"}, {4, "00:00"},     {12345, "12:35"},   {25, "00:03"}};
    for (const auto& [ms, text] : times) {
        EXPECT_EQ(timeText(ms), text) << ms;
    }
}

TEST(ScoreText, OrdinalsTablePlacesAndTableTimes) {
    EXPECT_EQ(ordinalText(1) + ordinalText(2) + ordinalText(3) + ordinalText(4) + ordinalText(10),
              "1st2nd3rd4th10th");
    EXPECT_EQ(tablePlaceText(1) + tablePlaceText(10), "01.10.");
    // Only a run of digits is a time; anything else is an empty place.
    std::string shown;
    for (const char* field : {"7", "1234", "123456", "00123", "9876543210", "", "nan", "inf",
                              "12.5", "-5", "+5", " 5", "5\r"}) {
        shown += tableTimeText(field) + " ";
    }
    EXPECT_EQ(shown, "00:07 12:34 1234:56 01:23 98765432:10 --:-- --:-- --:-- --:-- --:-- --:-- "
                     "--:-- --:-- ");
}

TEST(ScoreText, TextAlphaRoundsHalfToEvenAndStaysInRange) {
    const std::pair<double, int> alphas[] = {{0.5, 128}, {0.4, 102},     {1.0, 255},
                                             {0.0, 0},   {2.5 / 255, 2}, {3.5 / 255, 4},
                                             {-0.3, 0},  {1.7, 255}};
    for (const auto& [opacity, alpha] : alphas) {
        EXPECT_EQ(textAlpha(opacity), alpha) << opacity;
    }
}

// Ten replays newest first, then the best of all (the oldest of equal times), and only replays.
TEST(GameReplays, TheFolderKeepsTheTenNewestAndTheBestTimeAndLeavesOtherFilesAlone) {
    std::vector<std::string> names = {"notes.txt", "12-x.replay", "5-.replay", "7-99.replay.tmp"};
    for (int i = 1; i <= 13; ++i) {
        names.push_back(std::to_string(1000 + i) + "-" + (i == 2 || i == 3 ? "900" : "100") +
                        ".replay");
    }
    std::vector<std::string> deleted = replaysToDelete(names);
    std::sort(deleted.begin(), deleted.end());
    EXPECT_EQ(deleted, (std::vector<std::string>{"1001-100.replay", "1003-900.replay"}));
}

} // namespace
} // namespace vastorim
