#pragma once

#include <chrono>
#include <deque>
#include <mutex>
#include <string>
#include <unordered_map>

namespace vastorim::server {

// Allows each client address at most `perMinute` requests in any sliding minute. Safe to call
// from the server's worker threads at once.
class RateLimiter {
  public:
    using Clock = std::chrono::steady_clock;

    explicit RateLimiter(int perMinute) : perMinute_(perMinute) {}

    // True, and counted, when the address may make one more request at `now`.
    bool allow(const std::string& address, Clock::time_point now = Clock::now());

  private:
    void forgetIdleAddresses(Clock::time_point now);

    const std::size_t perMinute_;
    std::mutex mutex_;
    std::unordered_map<std::string, std::deque<Clock::time_point>> recent_;
    std::size_t allowedSinceSweep_ = 0;
};

} // namespace vastorim::server
