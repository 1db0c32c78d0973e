#include "protocol/score_key.h"
#include "protocol/table_time.h"

#include <gtest/gtest.h>

#include <optional>

namespace vastorim {
namespace {

// Expected keys computed independently: printf 'NAME\nSCORE' | openssl dgst -sha256 -hmac SECRET
TEST(ScoreKey, IsTheHmacOfNameLineFeedAndScoreInLowerCaseHex) {
    EXPECT_EQ(scoreKey("AB CD", 1234, "Jefe"),
              "649f125366187b0897846f8ac34ef43bfca55a335710f70c5514e59a6cef03e9");
    EXPECT_EQ(scoreKey("PLAYER", 1235, "development secret"),
              "92125e3dbcbd0b14521d2e91b09d9a31a03cf5a2c796d4b35e231214a31fcad8");
    EXPECT_NE(scoreKey("PLAYER", 1235, "another secret"), scoreKey("PLAYER", 1235, "Jefe"));
}

TEST(TableTime, OnlyARunOfDigitsIsATimeAndItShowsFromItsValue) {
    // The field and how it shows; nullptr: an empty place.
    const std::pair<const char*, const char*> cases[] = {
        {"1234", "12:34"}, {"00123", "01:23"}, {"0", "00:00"},   {"754321", "7543:21"},
        {"", nullptr},     {"nan", nullptr},   {"inf", nullptr}, {"12.5", nullptr},
        {"-5", nullptr},   {"+5", nullptr},    {" 5", nullptr},  {"5\r", nullptr}};
    for (const auto& [field, shown] : cases) {
        const std::optional<TableTime> time = TableTime::read(field);
        ASSERT_EQ(time.has_value(), shown != nullptr) << '"' << field << '"';
        if (time) {
            EXPECT_EQ(time->text(), shown) << field;
        }
    }
    EXPECT_EQ(TableTime(8500).text(), "85:00");
}

TEST(TableTime, AnEntryIsBelowANewTimeOnlyWhenStrictlyLess) {
    EXPECT_TRUE(TableTime::read("1234")->below(1234.5));
    EXPECT_FALSE(TableTime::read("1235")->below(1234.5));
    EXPECT_FALSE(TableTime::read("3000")->below(3000.0)); // a tie keeps the older entry
    EXPECT_TRUE(TableTime::read("0002999")->below(3000.0));
    EXPECT_FALSE(TableTime::read("99999999999999999999999999")->below(2.1e8));
    EXPECT_EQ(TableTime::read("99999999999999999999999999")->text(), "999999999999999999999999:99");
}

} // namespace
} // namespace vastorim
