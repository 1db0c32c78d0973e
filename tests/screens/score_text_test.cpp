#include "screens/score_text.h"

#include <gtest/gtest.h>

namespace vastorim {
namespace {

TEST(TimeText, HundredthsWithColonAndAtLeastFourDigits) {
    EXPECT_EQ(timeText(0), "00:00");
    EXPECT_EQ(timeText(83450), "83:45");
    EXPECT_EQ(timeText(100000), "100:00");
    EXPECT_EQ(timeText(754321), "754:32");
    EXPECT_EQ(timeText(7543210), "7543:21");
    EXPECT_EQ(timeText(990), "00:99");
}

TEST(TimeText, HalfHundredthsRoundAwayFromZero) {
    EXPECT_EQ(timeText(5), "00:01");
    EXPECT_EQ(timeText(4), "00:00");
    EXPECT_EQ(timeText(12345), "12:35");
    EXPECT_EQ(timeText(25), "00:03"); // not to even
}

TEST(Ordinal, FirstThreeHaveTheirOwnSuffixes) {
    EXPECT_EQ(ordinalText(1), "1st");
    EXPECT_EQ(ordinalText(2), "2nd");
    EXPECT_EQ(ordinalText(3), "3rd");
    EXPECT_EQ(ordinalText(4), "4th");
    EXPECT_EQ(ordinalText(10), "10th");
}

TEST(TableText, TimesAndPlacesOfTheHighScoreRows) {
    EXPECT_EQ(tableTimeText("7"), "00:07");
    EXPECT_EQ(tableTimeText("1234"), "12:34");
    EXPECT_EQ(tableTimeText("123456"), "1234:56");
    EXPECT_EQ(tableTimeText(""), "--:--");
    EXPECT_EQ(tableTimeText("12a"), "--:--");
    EXPECT_EQ(tablePlaceText(1), "01.");
    EXPECT_EQ(tablePlaceText(10), "10.");
}

TEST(TextAlpha, RoundsHalfToEvenAndStaysInRange) {
    EXPECT_EQ(textAlpha(0.5), 128); // 127.5
    EXPECT_EQ(textAlpha(0.4), 102);
    EXPECT_EQ(textAlpha(1.0), 255);
    EXPECT_EQ(textAlpha(0.0), 0);
    EXPECT_EQ(textAlpha(2.5 / 255), 2);
    EXPECT_EQ(textAlpha(3.5 / 255), 4);
    EXPECT_EQ(textAlpha(-0.3), 0);
    EXPECT_EQ(textAlpha(1.7), 255);
}

TEST(Version, MinorIsShownTimesTenAndRevisionInTwoDigits) {
    EXPECT_EQ(versionText(1, 1, 26), "1.10.26");
    EXPECT_EQ(versionText(2, 0, 3), "2.00.03");
    EXPECT_EQ(versionText(1, 12, 100), "1.120.100");
}

} // namespace
} // namespace vastorim
