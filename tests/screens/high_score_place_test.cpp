#include "screens/mod_highscore.h"

#include "engine/mod_game_load.h"

#include <gtest/gtest.h>

namespace vastorim {
namespace {

// 9000, 8000, ..., 0 hundredths, best first.
std::array<std::string, 10> descendingTable() {
    std::array<std::string, 10> times;
    for (int i = 0; i < 10; ++i) {
        times[i] = std::to_string(9000 - 1000 * i);
    }
    return times;
}

TEST(PlaceInTable, TakesThePlaceOfTheFirstSlowerEntry) {
    const auto table = descendingTable();
    EXPECT_EQ(placeInTable(85000, table), 2);
    EXPECT_EQ(placeInTable(95000, table), 1);
    EXPECT_EQ(placeInTable(5, table), 10);    // 0.5 hundredths beats the 0 entry
    EXPECT_EQ(placeInTable(0, table), -1);    // ties never beat
    EXPECT_EQ(placeInTable(90000, table), 2); // equal to the best: next place
}

TEST(PlaceInTable, ATieWithTheLastEntryDoesNotEnter) {
    std::array<std::string, 10> table;
    table.fill("5000");
    table[9] = "3000";
    EXPECT_EQ(placeInTable(30000, table), -1);
    EXPECT_EQ(placeInTable(30010, table), 10);
}

TEST(PlaceInTable, EntriesThatAreNotNumbersAreFreePlaces) {
    std::array<std::string, 10> table = descendingTable();
    table[6] = "";
    table[7] = "n/a";
    EXPECT_EQ(placeInTable(100, table), 7);
    std::array<std::string, 10> empty;
    EXPECT_EQ(placeInTable(1, empty), 1);
}

class PlaceScoreOnline : public ::testing::Test {
  protected:
    void SetUp() override {
        saved = onlineEnabled;
        resetHighScores();
        highScores.highScoreTimes = descendingTable();
    }
    void TearDown() override {
        onlineEnabled = saved;
        resetHighScores();
    }
    bool saved = false;
};

TEST_F(PlaceScoreOnline, OfflineGamesNeverPlace) {
    onlineEnabled = false;
    EXPECT_EQ(placeScore(85000), -1);
    onlineEnabled = true;
    EXPECT_EQ(placeScore(85000), 2);
}

TEST_F(PlaceScoreOnline, NetworkHooksRunOnlyWhenOnline) {
    int fetches = 0, sends = 0;
    highScoreNetwork.fetchTable = [&] { ++fetches; };
    highScoreNetwork.sendScore = [&] { ++sends; };
    onlineEnabled = false;
    fetchHighScores();
    sendScore();
    EXPECT_EQ(fetches + sends, 0);
    onlineEnabled = true;
    fetchHighScores();
    sendScore();
    EXPECT_EQ(fetches, 1);
    EXPECT_EQ(sends, 1);
    highScoreNetwork = HighScoreNetwork{};
}

} // namespace
} // namespace vastorim
