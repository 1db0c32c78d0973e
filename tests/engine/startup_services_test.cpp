#include "engine/app_path.h"
#include "engine/mod_dx8_sound.h"
#include "engine/mod_game_load.h"
#include "engine/mod_vbp_start.h"
#include "platform/platform.h"
#include "support/test_support.h"
#include "support/test_wav.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

namespace vastorim::test {
namespace {

// A bare program folder as a first start finds it: no pictures, no setup file, no font, and a
// silent track of the shipped length.
class StartUpServicesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        makeFolder();
        setAppPath(folder.path());
        hooks = EngineHooks{};
        hooks.afterFrame = [this] {
            updateMusicClock();
            positions.push_back(music.playPos);
            globals.gameRunning = positions.size() < 2;
        };
    }
    void TearDown() override {
        hooks = EngineHooks{};
        setAppPath(".");
    }

    void makeFolder() {
        std::filesystem::remove(folder.file("game setup.txt"));
        writeProgramFolder(folder.path(), {"END"});
        writeWav16(folder.file("sound/music.wav"), 22050, 1,
                   std::vector<std::int16_t>((2418305 + 37786) / 2));
    }

    int runOnce() {
        platform::Platform headless = platform::createHeadlessPlatform(16);
        return Main({"run"}, headless);
    }

    TempFolder folder;
    std::vector<std::int32_t> positions;
};

TEST_F(StartUpServicesTest, ABareFolderStartsWithDefaultsASubstituteFaceAndMusic) {
    ASSERT_EQ(runOnce(), 0);
    EXPECT_EQ(readFile(folder.file("game setup.txt")),
              "false\r\ntrue\r\nfalse\r\n1\r\nup\r\ndown\r\nleft\r\nright\r\nspace\r\n");
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

TEST_F(StartUpServicesTest, ABadSetupFileOrAMissingTrackStopsTheStartNamingIt) {
    const std::pair<std::function<void()>, std::string> cases[] = {
        {[this] { folder.write("game setup.txt", "false\r\nmaybe\r\nfalse\r\n1\r\n"); },
         "game setup.txt:2: hitEffects"},
        {[this] { std::filesystem::remove(folder.file("sound/music.wav")); }, "sound/music.wav"},
    };
    for (const auto& [spoil, named] : cases) {
        makeFolder();
        spoil();
        ::testing::internal::CaptureStderr();
        EXPECT_EQ(runOnce(), 1);
        const std::string said = ::testing::internal::GetCapturedStderr();
        EXPECT_NE(said.find(named), std::string::npos) << said;
    }
}

} // namespace
} // namespace vastorim::test
