#include "engine/app_path.h"
#include "engine/music_clock.h"
#include "engine/startup.h"
#include "platform/platform.h"
#include "support/test_support.h"
#include "support/test_wav.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace vastorim::test {
namespace {

// A bare program folder as a first start finds it: no pictures, no setup file, no font, and a
// silent track of the shipped length.
TEST(StartUpServices, ABareFolderStartsWithDefaultsASubstituteFaceAndMusic) {
    TempFolder folder;
    writeProgramFolder(folder.path(), {"END"});
    writeWav16(folder.file("sound/music.wav"), 22050, 1,
               std::vector<std::int16_t>((2418305 + 37786) / 2));
    setAppPath(folder.path());
    std::vector<std::int32_t> positions;
    hooks = EngineHooks{};
    hooks.afterFrame = [&] {
        updateMusicClock();
        positions.push_back(music.playPos);
        globals.gameRunning = positions.size() < 2;
    };
    platform::Platform headless = platform::createHeadlessPlatform(16);
    ASSERT_EQ(Main({"run"}, headless), 0);
    hooks = EngineHooks{};
    setAppPath(".");

    EXPECT_TRUE(std::filesystem::exists(folder.file("game setup.txt")));
    EXPECT_EQ(globals.playerName, "player");
    // From the loop start at 22000 frames of 2 bytes a second: 704 bytes a 16 ms frame.
    EXPECT_EQ(music.musicFrequency, 22000);
    ASSERT_EQ(positions.size(), 2u);
    EXPECT_GE(positions[0], 37786);
    EXPECT_LE(positions[0], 37786 + 704);
    EXPECT_EQ(positions[1] - positions[0], 704);
    // The track went with the platform: using it now is a clear error, not a dangling one.
    EXPECT_THROW(restartMusic(), std::logic_error);
}

} // namespace
} // namespace vastorim::test
