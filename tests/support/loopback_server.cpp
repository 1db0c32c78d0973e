#include "support/loopback_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <stdexcept>

namespace vastorim::test {

LoopbackServer::LoopbackServer(Answer answer) {
    const auto handle = [this, answer](const httplib::Request& request,
                                       httplib::Response& response) {
        if (!answer(request, response)) {
            std::unique_lock lock(mutex_);
            ending_.wait(lock, [this] { return ended_; });
        }
    };
    http_.Get(".*", handle);
    http_.Post(".*", handle);
    port_ = http_.bind_to_any_port("127.0.0.1");
    if (port_ <= 0) {
        throw std::runtime_error("cannot listen on 127.0.0.1");
    }
    thread_ = std::thread([this] { http_.listen_after_bind(); });
    // A stop asked for before the listening starts would be missed.
    while (!http_.is_running()) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

LoopbackServer::~LoopbackServer() {
    {
        std::lock_guard lock(mutex_);
        ended_ = true;
    }
    ending_.notify_all();
    http_.stop();
    thread_.join();
}

std::string refusedBase() {
    // A port the system has just handed out and taken back.
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof address;
    if (fd < 0 || bind(fd, reinterpret_cast<sockaddr*>(&address), size) != 0 ||
        getsockname(fd, reinterpret_cast<sockaddr*>(&address), &size) != 0) {
        throw std::runtime_error("cannot bind on 127.0.0.1");
    }
    close(fd);
    return "http://127.0.0.1:" + std::to_string(ntohs(address.sin_port));
}

} // namespace vastorim::test
