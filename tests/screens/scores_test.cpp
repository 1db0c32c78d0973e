// The game-over screen's name entry, the high-score table's placing and the shown times.
#include "engine/game_setup.h"
#include "screens/game_hud.h"
#include "screens/game_over.h"
#include "screens/high_scores.h"
#include "screens/score_text.h"

#include <gtest/gtest.h>

#include <tuple>

namespace vastorim {
namespace {

constexpr int backspace = 8, returnKey = 13, space = 32;

TEST(NameEntry, TypesCapitalsDigitsOneToNineAndSpacesUpToTenAndBackspaceDeletes) {
    const std::tuple<std::string, std::vector<int>, std::string> cases[] = {
        {"player", {'A', 'B'}, "playerAB"},
        {"", {'Z', space, '9', '0'}, "Z 9"},
        {"", {'A', 'Z', 91, 27, 17, 37, 40, returnKey}, "AZ"},
        {"", {'A', 'B', 'C', 'D', 'E', 'F', 'G', 'H', 'I', 'J', 'K'}, "ABCDEFGHIJ"},
        {"ABCDEFGHIJ", {space, backspace, 'X'}, "ABCDEFGHIX"},
        {"A", {backspace, backspace}, ""}};
    for (const auto& [start, keys, typed] : cases) {
        std::string name = start;
        for (int key : keys) {
            editPlayerName(name, key);
        }
        EXPECT_EQ(name, typed) << start;
    }
}

TEST(NameEntry, ReturnSubmitsOnlyAChangedNonEmptyName) {
    const std::pair<const char*, bool> names[] = {
        {"player", false}, {"", false}, {"playe", true}, {"PLAYER", true}};
    for (const auto& [name, submits] : names) {
        std::string edited = name;
        EXPECT_EQ(editPlayerName(edited, returnKey), submits) << name;
        EXPECT_EQ(edited, name);
    }
    std::string name = "ANNA";
    EXPECT_FALSE(editPlayerName(name, 'B'));
}

TEST(NameEntry, TheCursorShowsForHalfASecondAndNotOnAFullName) {
    EXPECT_EQ(cursorText("ANNA", 0.0f) + cursorText("ANNA", 0.49f), "__");
    EXPECT_EQ(cursorText("ANNA", 0.5f), " ");
    EXPECT_EQ(cursorText("ABCDEFGHI", 0.2f), "_");
    EXPECT_EQ(cursorText("ABCDEFGHIJ", 0.2f), "");
}

// 9000, 8000, ..., 0 hundredths, best first.
std::array<std::string, 10> descendingTable() {
    std::array<std::string, 10> times;
    for (int i = 0; i < 10; ++i) {
        times[i] = std::to_string(9000 - 1000 * i);
    }
    return times;
}

TEST(PlaceInTable, TakesThePlaceOfTheFirstSlowerEntryTiesNeverBeatAndNonNumbersAreFree) {
    std::array<std::string, 10> lastSlow;
    lastSlow.fill("5000");
    lastSlow[9] = "3000";
    std::array<std::string, 10> gaps = descendingTable();
    gaps[6] = "";
    gaps[7] = "n/a";
    struct Case {
        long ms;
        std::array<std::string, 10> table;
        int place;
    };
    for (const Case& c :
         {Case{85000, descendingTable(), 2}, Case{95000, descendingTable(), 1},
          Case{5, descendingTable(), 10}, Case{0, descendingTable(), -1},
          Case{90000, descendingTable(), 2}, Case{30000, lastSlow, -1}, Case{30010, lastSlow, 10},
          Case{100, gaps, 7}, Case{1, std::array<std::string, 10>{}, 1}}) {
        EXPECT_EQ(placeInTable(c.ms, c.table), c.place) << c.ms;
    }
}

TEST(PlaceScore, OnlyOnlineGamesPlaceAndTouchTheNetwork) {
    resetHighScores();
    highScores.highScoreTimes = descendingTable();
    int fetches = 0, sends = 0;
    highScoreNetwork.fetchTable = [&] { ++fetches; };
    highScoreNetwork.sendScore = [&] { ++sends; };
    for (const bool online : {false, true}) {
        onlineEnabled = online;
        EXPECT_EQ(placeScore(85000), online ? 2 : -1);
        fetchHighScores();
        sendScore();
        EXPECT_EQ(std::pair(fetches, sends), online ? std::pair(1, 1) : std::pair(0, 0));
    }
    highScoreNetwork = HighScoreNetwork{};
    onlineEnabled = false;
    resetHighScores();
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
    const std::pair<const char*, const char*> stored[] = {
        {"7", "00:07"}, {"1234", "12:34"}, {"123456", "1234:56"}, {"", "--:--"}, {"12a", "--:--"}};
    for (const auto& [table, text] : stored) {
        EXPECT_EQ(tableTimeText(table), text) << table;
    }
}

TEST(ScoreText, TextAlphaRoundsHalfToEvenAndStaysInRange) {
    const std::pair<double, int> alphas[] = {{0.5, 128}, {0.4, 102},     {1.0, 255},
                                             {0.0, 0},   {2.5 / 255, 2}, {3.5 / 255, 4},
                                             {-0.3, 0},  {1.7, 255}};
    for (const auto& [opacity, alpha] : alphas) {
        EXPECT_EQ(textAlpha(opacity), alpha) << opacity;
    }
}

} // namespace
} // namespace vastorim
