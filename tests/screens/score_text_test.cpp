#include "screens/score_text.h"

#include <gtest/gtest.h>

namespace vastorim {
namespace {

TEST(ScoreText, TimesInHundredthsRoundHalvesAwayFromZeroWithAtLeastFourDigits) {
    for (const auto& [ms, text] : std::vector<std::pair<long, std::string>>{{0, "00:00"},
                                                                            {83450, "83:45"},
                                                                            {100000, "100:00"},
                                                                            {7543210, "7543:21"},
                                                                            {990, "00:99"},
                                                                            {5, "00:01"},
                                                                            {4, "00:00"},
                                                                            {12345, "12:35"},
                                                                            {25, "00:03"}}) {
        EXPECT_EQ(timeText(ms), text) << ms;
    }
}

TEST(ScoreText, OrdinalsTablePlacesAndTableTimes) {
    EXPECT_EQ(ordinalText(1) + ordinalText(2) + ordinalText(3) + ordinalText(4) + ordinalText(10),
              "1st2nd3rd4th10th");
    EXPECT_EQ(tablePlaceText(1) + tablePlaceText(10), "01.10.");
    for (const auto& [stored, text] :
         std::vector<std::pair<std::string, std::string>>{{"7", "00:07"},
                                                          {"1234", "12:34"},
                                                          {"123456", "1234:56"},
                                                          {"00123", "01:23"},
                                                          {"", "--:--"},
                                                          {"nan", "--:--"},
                                                          {"12.5", "--:--"},
                                                          {"-5", "--:--"}}) {
        EXPECT_EQ(tableTimeText(stored), text) << stored;
    }
}

TEST(ScoreText, TextAlphaRoundsHalfToEvenAndStaysInRange) {
    for (const auto& [opacity, alpha] : std::vector<std::pair<double, int>>{{0.5, 128},
                                                                            {0.4, 102},
                                                                            {1.0, 255},
                                                                            {0.0, 0},
                                                                            {2.5 / 255, 2},
                                                                            {3.5 / 255, 4},
                                                                            {-0.3, 0},
                                                                            {1.7, 255}}) {
        EXPECT_EQ(textAlpha(opacity), alpha) << opacity;
    }
}

} // namespace
} // namespace vastorim
