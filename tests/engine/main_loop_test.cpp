#include "engine/app_path.h"
#include "engine/music_clock.h"
#include "engine/platform_access.h"
#include "engine/renderer.h"
#include "engine/startup.h"
#include "engine/textures.h"
#include "platform/events.h"
#include "platform/platform.h"
#include "platform/platform_error.h"
#include "platform/video.h"
#include "support/test_support.h"
#include "support/test_wav.h"

#include <gtest/gtest.h>

namespace vastorim::test {
namespace {

using platform::Event;

// Main on the headless platform with a small program folder; each test sets hooks.
class HeadlessMain : public ::testing::Test {
  protected:
    void SetUp() override {
        hooks = EngineHooks{};
        writeProgramFolder(folder.path(), {"white.png", "END"});
        setAppPath(folder.path());
    }
    void TearDown() override {
        hooks = EngineHooks{};
        resetGlobalState();
        resetTextureList();
        setAppPath(".");
    }

    // After the given frame, pushes these events; after the last frame given, ends the loop.
    void script(std::vector<std::vector<Event>> perFrame) {
        hooks.afterFrame = [this, perFrame] {
            if (framesRun < static_cast<int>(perFrame.size())) {
                for (const Event& event : perFrame[static_cast<std::size_t>(framesRun)]) {
                    static_cast<platform::ScriptedEvents&>(*headless.events).push(event);
                }
            } else {
                globals.gameRunning = false;
            }
            ++framesRun;
        };
    }

    TempFolder folder;
    platform::Platform headless = platform::createHeadlessPlatform(20);
    int framesRun = 0;
};

// A first start: no setup file, no font, and a silent track of the shipped length. The music
// plays from the loop start at 22000 frames of 2 bytes a second, 880 bytes a 20 ms frame.
TEST_F(HeadlessMain, StartsUpInOrderInTheMenuAndPlaysTheMusicFromItsLoopStart) {
    writeWav16(folder.file("sound/music.wav"), 22050, 1,
               std::vector<std::int16_t>((2418305 + 37786) / 2));
    std::vector<std::string> calls;
    hooks.fetchHighScores = [&] {
        calls.push_back("fetchHighScores");
        EXPECT_EQ(lastTexture(), -1);
        EXPECT_NE(currentVideo(), nullptr);
    };
    hooks.loadContent = [&] {
        calls.push_back("loadContent");
        EXPECT_EQ(findTexture("white.png"), 0);
    };
    hooks.resetMenuItems = [&] { calls.push_back("resetMenuItems"); };
    globals.gameMode = 1;
    globals.globalFade = 0.25f;
    hooks.updateMode = [&] {
        EXPECT_EQ(globals.gameMode, 0);
        EXPECT_EQ(globals.menuScreen, 0);
        EXPECT_EQ(globals.globalFade, 1.0f);
    };
    std::vector<std::int32_t> positions;
    hooks.afterFrame = [&] {
        updateMusicClock();
        positions.push_back(music.playPos);
        globals.gameRunning = positions.size() < 2;
    };
    ASSERT_EQ(Main({"run"}, headless), 0);
    EXPECT_EQ(calls,
              (std::vector<std::string>{"fetchHighScores", "loadContent", "resetMenuItems"}));
    EXPECT_EQ(music.musicFrequency, 22000);
    ASSERT_EQ(positions.size(), 2u);
    EXPECT_GE(positions[0], 37786);
    EXPECT_LE(positions[0], 37786 + 880);
    EXPECT_EQ(positions[1] - positions[0], 880);
    EXPECT_THROW(restartMusic(), std::logic_error) << "released with the platform, not dangling";
}

TEST_F(HeadlessMain, EventsReachTheHandlersAfterTheFrameAndCloseEndsTheLoop) {
    std::vector<std::string> seen;
    hooks.keyDown = [&](int code) { seen.push_back("down " + std::to_string(code)); };
    hooks.keyUp = [&](int code) { seen.push_back("up " + std::to_string(code)); };
    hooks.updateMode = [&] { seen.push_back("update"); };
    script({{{Event::Type::KeyDown, 38}, {Event::Type::KeyDown, 38}, {Event::Type::KeyUp, 38}},
            {{Event::Type::Close, 0}, {Event::Type::KeyDown, 13}},
            {}});
    EXPECT_EQ(Main({"run"}, headless), 0);
    // The iteration that sees the close request finishes, then the video is released.
    EXPECT_EQ(framesRun, 2);
    EXPECT_EQ(seen, (std::vector<std::string>{"update", "down 38", "down 38", "up 38", "update",
                                              "down 13"}));
    EXPECT_FALSE(globals.gameRunning);
    EXPECT_THROW(headless.video->readPixels(), platform::PlatformError);
    EXPECT_EQ(currentPlatform(), nullptr);
    EXPECT_EQ(currentVideo(), nullptr);
}

} // namespace
} // namespace vastorim::test
