#include "server/rate_limiter.h"

#include <gtest/gtest.h>

namespace vastorim::server {
namespace {

TEST(RateLimiter, AllowsEachAddressItsNumberInAnySlidingMinute) {
    RateLimiter limiter(3);
    const auto at = [](int seconds) {
        return RateLimiter::Clock::time_point{} + std::chrono::seconds(seconds);
    };
    // Another address has its own count; at 60 s the first request has left the minute.
    const std::tuple<const char*, int, bool> requests[] = {
        {"10.0.0.1", 0, true},   {"10.0.0.1", 20, true}, {"10.0.0.1", 40, true},
        {"10.0.0.1", 59, false}, {"10.0.0.2", 59, true}, {"10.0.0.1", 60, true},
        {"10.0.0.1", 61, false}, {"10.0.0.1", 81, true}};
    for (const auto& [address, second, allowed] : requests) {
        EXPECT_EQ(limiter.allow(address, at(second)), allowed) << address << " at " << second;
    }
}

} // namespace
} // namespace vastorim::server
