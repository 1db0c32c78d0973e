#include "screens/high_scores.h"

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

TEST(PlaceInTable, TakesThePlaceOfTheFirstSlowerEntryTiesNeverBeatAndNonNumbersAreFree) {
    std::array<std::string, 10> lastSlow;
    lastSlow.fill("5000");
    lastSlow[9] = "3000";
    // Only a run of digits is a time: anything else is an empty place that any time takes.
    std::array<std::string, 10> gaps = descendingTable();
    gaps[6] = "";
    gaps[7] = "n/a";
    std::array<std::string, 10> notTimes;
    notTimes.fill("00123");
    notTimes[4] = "nan";
    notTimes[5] = "inf";
    notTimes[6] = "12.5";
    notTimes[7] = "-5";
    struct Case {
        long ms;
        std::array<std::string, 10> table;
        int place;
    };
    for (const Case& c :
         {Case{85000, descendingTable(), 2}, Case{95000, descendingTable(), 1},
          Case{5, descendingTable(), 10}, Case{0, descendingTable(), -1},
          Case{90000, descendingTable(), 2}, Case{30000, lastSlow, -1}, Case{30010, lastSlow, 10},
          Case{100, gaps, 7}, Case{1, std::array<std::string, 10>{}, 1}, Case{1230, notTimes, 5},
          Case{1240, notTimes, 1}}) {
        EXPECT_EQ(placeInTable(c.ms, c.table), c.place) << c.ms;
    }
}

} // namespace
} // namespace vastorim
