#include "engine/app_path.h"
#include "engine/error_place.h"
#include "engine/game_setup.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

namespace vastorim::test {
namespace {

using Keys = std::array<std::string, 5>;

class GameSetupTest : public ::testing::Test {
  protected:
    void SetUp() override {
        setAppPath(folder.path());
        resetGameSetup();
    }
    void TearDown() override { setAppPath("."); }

    void writeSetup(const std::vector<std::string>& lines) {
        std::string text;
        for (const std::string& line : lines) {
            text += line + "\r\n";
        }
        folder.write("game setup.txt", text);
    }

    TempFolder folder;
};

TEST_F(GameSetupTest, AFirstStartWritesTheDefaultSetupAndSaysSo) {
    ::testing::internal::CaptureStderr();
    loadGameSetup();
    EXPECT_NE(::testing::internal::GetCapturedStderr().find("game setup.txt"), std::string::npos);
    EXPECT_EQ(readFile(folder.file("game setup.txt")),
              "false\r\ntrue\r\nfalse\r\n1\r\nup\r\ndown\r\nleft\r\nright\r\nspace\r\n");
    EXPECT_FALSE(fullScreen);
    EXPECT_TRUE(hitEffects);
    EXPECT_FALSE(onlineEnabled);
    ::testing::internal::CaptureStderr();
    loadGameSetup();
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
}

TEST_F(GameSetupTest, SwitchesAreWordsInAnyCaseOrNumbers) {
    const std::pair<std::string, bool> forms[] = {
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

TEST_F(GameSetupTest, EachPlayerHasFiveKeyNamesAndMissingOnesAreUnbound) {
    writeSetup({"0", "0", "0", "2", "w", "s", "a", "d", "control", "up", "down", "left", "right",
                "space", "extra line"});
    const auto players = readPlayerKeyNames();
    ASSERT_EQ(players.size(), 2u);
    EXPECT_EQ(players[0].names, (Keys{"w", "s", "a", "d", "control"}));
    EXPECT_EQ(players[1].names, (Keys{"up", "down", "left", "right", "space"}));

    writeSetup({"0", "0", "0", "2", "w", "s", "a", "d", "control", "up", "down"});
    EXPECT_EQ(readPlayerKeyNames()[1].names, (Keys{"up", "down", "", "", ""}));
}

TEST_F(GameSetupTest, BadSwitchesAndPlayerCountsAreErrorsNamingLineAndField) {
    struct Case {
        std::vector<std::string> lines;
        int line;
        const char* field;
    };
    std::vector<Case> cases{{{"true"}, 2, ""}, {{"0", "0", "0"}, 4, ""}};
    for (const std::string bad : {"yes", "", "on", "nan"}) {
        cases.push_back({{"true", "false", bad, "1"}, 3, "onlineEnabled"});
    }
    for (const std::string bad : {"0", "-1", "1.5", "two", "", "1e9", "inf"}) {
        cases.push_back(
            {{"0", "0", "0", bad, "up", "down", "left", "right", "space"}, 4, "number of players"});
    }
    const auto loadAll = [] {
        loadGameSetup();
        readPlayerKeyNames();
    };
    for (const Case& c : cases) {
        writeSetup(c.lines);
        EXPECT_EQ(errorOf(loadAll), (ErrorPlace{folder.file("game setup.txt"), c.line, c.field}))
            << ::testing::PrintToString(c.lines);
    }
}

} // namespace
} // namespace vastorim::test
