#include "engine/app_path.h"
#include "engine/errors.h"
#include "engine/mod_game_load.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace vastorim {
namespace {

namespace fs = std::filesystem;

class GameSetupTest : public ::testing::Test {
  protected:
    void SetUp() override {
        folder = fs::temp_directory_path() /
                 ("vastorim_setup_" +
                  std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(folder);
        fs::create_directories(folder);
        setAppPath(folder.string());
        resetGameSetup();
    }

    void writeSetup(const std::vector<std::string>& lines) {
        std::ofstream out(folder / "game setup.txt", std::ios::binary);
        for (const std::string& line : lines) {
            out << line << "\r\n";
        }
    }

    std::vector<std::string> setupLines() {
        std::ifstream in(folder / "game setup.txt", std::ios::binary);
        std::vector<std::string> lines;
        for (std::string line; std::getline(in, line);) {
            lines.push_back(line);
        }
        return lines;
    }

    // The error a call raises, or a failure when it raises none.
    template <typename Call> DataError errorOf(Call call) {
        try {
            call();
        } catch (const DataError& error) {
            return error;
        }
        ADD_FAILURE() << "no DataError";
        return DataError("", 0, "", "");
    }

    fs::path folder;
};

TEST_F(GameSetupTest, AFirstStartWritesTheDefaultSetupAndSaysSo) {
    ::testing::internal::CaptureStderr();
    loadGameSetup();
    const std::string said = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(said.find("game setup.txt"), std::string::npos);

    EXPECT_EQ(setupLines(), (std::vector<std::string>{"false\r", "true\r", "false\r", "1\r", "up\r",
                                                      "down\r", "left\r", "right\r", "space\r"}));
    EXPECT_FALSE(fullScreen);
    EXPECT_TRUE(hitEffects);
    EXPECT_FALSE(onlineEnabled);

    const auto players = readPlayerKeyNames();
    ASSERT_EQ(players.size(), 1u);
    EXPECT_EQ(players[0].names,
              (std::array<std::string, 5>{"up", "down", "left", "right", "space"}));

    ::testing::internal::CaptureStderr();
    loadGameSetup(); // the file is there now: nothing to say
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
}

TEST_F(GameSetupTest, SwitchesAreWordsInAnyCaseOrNumbers) {
    const std::vector<std::pair<std::string, bool>> forms = {
        {"True", true}, {"TRUE", true}, {"false", false}, {"fAlSe", false}, {"0", false},
        {"1", true},    {"-1", true},   {"2.5", true},    {" true ", true}, {"0.0", false}};
    for (const auto& [text, value] : forms) {
        writeSetup({text, text, "True", "1", "up", "down", "left", "right", "space"});
        loadGameSetup();
        EXPECT_EQ(fullScreen, value) << text;
        EXPECT_EQ(hitEffects, value) << text;
        EXPECT_TRUE(onlineEnabled);
    }
}

TEST_F(GameSetupTest, ASwitchThatIsNeitherIsAnErrorNamingItsLine) {
    for (const std::string bad : {"yes", "", "on", "nan"}) {
        writeSetup({"true", "false", bad, "1"});
        const DataError error = errorOf([] { loadGameSetup(); });
        EXPECT_EQ(error.line(), 3) << bad;
        EXPECT_EQ(error.field(), "onlineEnabled") << bad;
        EXPECT_EQ(fs::path(error.file()), folder / "game setup.txt");
    }
    writeSetup({"true"});
    EXPECT_EQ(errorOf([] { loadGameSetup(); }).line(), 2);
}

TEST_F(GameSetupTest, EachPlayerHasFiveKeyNamesInOrderAndMissingOnesAreEmpty) {
    writeSetup({"0", "0", "0", "2", "w", "s", "a", "d", "control", "up", "down", "left", "right",
                "space", "extra line", "another"});
    const auto players = readPlayerKeyNames();
    ASSERT_EQ(players.size(), 2u);
    EXPECT_EQ(players[0].names, (std::array<std::string, 5>{"w", "s", "a", "d", "control"}));
    EXPECT_EQ(players[1].names,
              (std::array<std::string, 5>{"up", "down", "left", "right", "space"}));

    writeSetup({"0", "0", "0", "2", "w", "s", "a", "d", "control", "up", "down"});
    EXPECT_EQ(readPlayerKeyNames()[1].names,
              (std::array<std::string, 5>{"up", "down", "", "", ""})); // missing lines: unbound
}

TEST_F(GameSetupTest, APlayerCountThatIsNotAWholeNumberOfAtLeastOneIsAnError) {
    for (const std::string bad : {"0", "-1", "1.5", "two", "", "1e9", "inf"}) {
        writeSetup({"0", "0", "0", bad, "up", "down", "left", "right", "space"});
        const DataError error = errorOf([] { readPlayerKeyNames(); });
        EXPECT_EQ(error.line(), 4) << bad;
        EXPECT_EQ(error.field(), "number of players") << bad;
        EXPECT_EQ(fs::path(error.file()), folder / "game setup.txt");
    }
    writeSetup({"0", "0", "0"});
    EXPECT_EQ(errorOf([] { readPlayerKeyNames(); }).line(), 4);
}

} // namespace
} // namespace vastorim
