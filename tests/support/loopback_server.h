#pragma once

#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace vastorim::test {

// An HTTP server on 127.0.0.1 and a free port, on raw sockets so that a test decides every byte
// of a reply. One thread serves the connections in turn; a reply of nothing leaves the
// connection open and unanswered until the server goes.
class LoopbackServer {
  public:
    using Reply = std::function<std::optional<std::string>(const std::string& head)>;
    explicit LoopbackServer(Reply reply);
    ~LoopbackServer();

    std::string base() const; // "http://127.0.0.1:PORT"
    std::vector<std::string> heads() const;
    std::vector<std::string> targets() const; // "/path?query" of each request

  private:
    Reply reply_;
    int listener_ = -1;
    int port_ = 0;
    mutable std::mutex mutex_;
    std::vector<std::string> heads_;
    std::vector<int> unanswered_;
    std::thread thread_;
};

std::string httpReply(int status, const std::string& body); // with its Content-Length
std::string refusedBase(); // an address on 127.0.0.1 where nothing listens

} // namespace vastorim::test
