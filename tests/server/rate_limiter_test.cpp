#include "server/rate_limiter.h"

#include <gtest/gtest.h>

namespace vastorim::server {
namespace {

TEST(RateLimiter, AllowsEachAddressItsNumberInAnySlidingMinute) {
    RateLimiter limiter(3);
    const auto at = [](int seconds) {
        return RateLimiter::Clock::time_point{} + std::chrono::seconds(seconds);
    };
    EXPECT_TRUE(limiter.allow("10.0.0.1", at(0)));
    EXPECT_TRUE(limiter.allow("10.0.0.1", at(20)));
    EXPECT_TRUE(limiter.allow("10.0.0.1", at(40)));
    EXPECT_FALSE(limiter.allow("10.0.0.1", at(59)));
    EXPECT_TRUE(limiter.allow("10.0.0.2", at(59))); // another address has its own count
    EXPECT_TRUE(limiter.allow("10.0.0.1", at(60))); // the first request has left the minute
    EXPECT_FALSE(limiter.allow("10.0.0.1", at(61)));
    EXPECT_TRUE(limiter.allow("10.0.0.1", at(81)));
}

} // namespace
} // namespace vastorim::server
