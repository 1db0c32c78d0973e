#include "protocol/score_key.h"

#include <gtest/gtest.h>

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

} // namespace
} // namespace vastorim
