#include "engine/app_path.h"
#include "engine/mod_dx8_sound.h"
#include "engine/mod_game_load.h"
#include "engine/mod_vbp_start.h"
#include "platform/platform.h"
#include "support/test_support.h"
#include "support/test_wav.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace vastorim {
namespace {

// A program folder with no pictures, a silent track of the shipped length, no setup file and no
// font file: what a first start from a bare folder finds.
class StartUpServicesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        test::writeProgramFolder(folder.path(), {"END"});
        std::filesystem::create_directories(folder.file("sound"));
        test::writeWav16(folder.file("sound/music.wav"), 22050, 1,
                         std::vector<std::int16_t>((2418305 + 37786) / 2));
        setAppPath(folder.path());
        hooks = EngineHooks{};
        // Two frames, each running the clock as the modes' updates do.
        hooks.afterFrame = [this] {
            updateMusicClock();
            positions.push_back(music.playPos);
            globals.gameRunning = positions.size() < 2;
        };
    }
    void TearDown() override { hooks = EngineHooks{}; }

    int runOnce() {
        platform::Platform headless = platform::createHeadlessPlatform(16);
        return Main({"run"}, headless);
    }

    test::TempFolder folder;
    std::vector<std::int32_t> positions;
};

TEST_F(StartUpServicesTest, ABareFolderStartsWithDefaultsASubstituteFaceAndMusic) {
    ASSERT_EQ(runOnce(), 0);
    EXPECT_EQ(test::readFile(folder.file("game setup.txt")),
              "false\r\ntrue\r\nfalse\r\n1\r\nup\r\ndown\r\nleft\r\nright\r\nspace\r\n");
    EXPECT_FALSE(fullScreen);
    EXPECT_TRUE(hitEffects);
    EXPECT_EQ(globals.playerName, "player");
    // The track plays from the loop start at 22000 frames of 2 bytes a second: 704 bytes a frame.
    EXPECT_EQ(music.musicFrequency, 22000);
    ASSERT_EQ(positions.size(), 2u);
    EXPECT_GE(positions[0], 37786);
    EXPECT_LE(positions[0], 37786 + 704);
    EXPECT_EQ(positions[1] - positions[0], 704);
    // The track went with the platform: using it now is a clear error, not a dangling one.
    EXPECT_THROW(restartMusic(), std::logic_error);
}

TEST_F(StartUpServicesTest, ABadSetupFileStopsTheStartWithItsLine) {
    test::writeFile(folder.file("game setup.txt"), "false\r\nmaybe\r\nfalse\r\n1\r\n");
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(runOnce(), 1);
    const std::string said = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(said.find("game setup.txt:2: hitEffects"), std::string::npos) << said;
}

TEST_F(StartUpServicesTest, AMissingTrackStopsTheStartNamingIt) {
    std::filesystem::remove(folder.file("sound/music.wav"));
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(runOnce(), 1);
    const std::string said = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(said.find("sound/music.wav"), std::string::npos) << said;
}

} // namespace
} // namespace vastorim
