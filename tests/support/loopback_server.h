#pragma once

#include <httplib.h>

#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

namespace vastorim::test {

// A scripted HTTP server on a free port of 127.0.0.1. `answer` fills the reply to each GET and
// POST, or returns false to leave it unanswered until the server goes.
class LoopbackServer {
  public:
    using Answer = std::function<bool(const httplib::Request&, httplib::Response&)>;
    explicit LoopbackServer(Answer answer);
    ~LoopbackServer();
    LoopbackServer(const LoopbackServer&) = delete;
    LoopbackServer& operator=(const LoopbackServer&) = delete;

    std::string base() const { return "http://127.0.0.1:" + std::to_string(port_); }

  private:
    httplib::Server http_;
    int port_ = 0;
    std::thread thread_;
    std::mutex mutex_;
    std::condition_variable ending_;
    bool ended_ = false;
};

// An address on 127.0.0.1 where nothing listens.
std::string refusedBase();

} // namespace vastorim::test
