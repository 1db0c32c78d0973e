#include "server/rate_limiter.h"

namespace vastorim::server {
namespace {

constexpr std::chrono::minutes kWindow{1};
// Addresses that have gone quiet are dropped after this many allowed requests, so the table
// stays as small as the set of recent clients.
constexpr std::size_t kRequestsBetweenSweeps = 1024;

} // namespace

bool RateLimiter::allow(const std::string& address, Clock::time_point now) {
    const std::lock_guard lock(mutex_);
    std::deque<Clock::time_point>& times = recent_[address];
    while (!times.empty() && now - times.front() >= kWindow) {
        times.pop_front();
    }
    if (times.size() >= perMinute_) {
        return false;
    }
    times.push_back(now);
    if (++allowedSinceSweep_ >= kRequestsBetweenSweeps) {
        forgetIdleAddresses(now);
    }
    return true;
}

void RateLimiter::forgetIdleAddresses(Clock::time_point now) {
    allowedSinceSweep_ = 0;
    std::erase_if(recent_, [&](const auto& entry) {
        return entry.second.empty() || now - entry.second.back() >= kWindow;
    });
}

} // namespace vastorim::server
