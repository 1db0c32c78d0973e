#include "support/loopback_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <stdexcept>

namespace vastorim::test {
namespace {

int listenOnLoopback(int& port) {
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof address;
    if (fd < 0 || bind(fd, reinterpret_cast<sockaddr*>(&address), size) != 0 ||
        listen(fd, 16) != 0 || getsockname(fd, reinterpret_cast<sockaddr*>(&address), &size) != 0) {
        throw std::runtime_error("cannot listen on 127.0.0.1");
    }
    port = ntohs(address.sin_port);
    return fd;
}

std::string readHead(int connection) {
    const timeval limit{2, 0};
    setsockopt(connection, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);
    std::string head;
    char buffer[4096];
    ssize_t n = 0;
    while (head.find("\r\n\r\n") == std::string::npos &&
           (n = recv(connection, buffer, sizeof buffer, 0)) > 0) {
        head.append(buffer, static_cast<std::size_t>(n));
    }
    return head;
}

} // namespace

LoopbackServer::LoopbackServer(Reply reply) : reply_(std::move(reply)) {
    listener_ = listenOnLoopback(port_);
    thread_ = std::thread([this] {
        // Ends when the destructor shuts the listener down.
        for (int connection; (connection = accept(listener_, nullptr, nullptr)) >= 0;) {
            const std::string head = readHead(connection);
            {
                std::lock_guard lock(mutex_);
                heads_.push_back(head);
            }
            if (const std::optional<std::string> bytes = reply_(head)) {
                send(connection, bytes->data(), bytes->size(), MSG_NOSIGNAL);
                close(connection);
            } else {
                unanswered_.push_back(connection);
            }
        }
    });
}

LoopbackServer::~LoopbackServer() {
    shutdown(listener_, SHUT_RDWR);
    thread_.join();
    for (const int connection : unanswered_) {
        close(connection);
    }
    close(listener_);
}

std::string LoopbackServer::base() const {
    return "http://127.0.0.1:" + std::to_string(port_);
}

std::vector<std::string> LoopbackServer::heads() const {
    std::lock_guard lock(mutex_);
    return heads_;
}

std::vector<std::string> LoopbackServer::targets() const {
    std::vector<std::string> targets;
    for (const std::string& head : heads()) {
        targets.push_back(head.substr(4, head.find(' ', 4) - 4)); // after "GET "
    }
    return targets;
}

std::string httpReply(int status, const std::string& body) {
    return "HTTP/1.1 " + std::to_string(status) +
           " Status\r\nContent-Length: " + std::to_string(body.size()) +
           "\r\nConnection: close\r\n\r\n" + body;
}

std::string refusedBase() {
    int port = 0;
    close(listenOnLoopback(port));
    return "http://127.0.0.1:" + std::to_string(port);
}

} // namespace vastorim::test
