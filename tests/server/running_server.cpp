#include "running_server.h"

#include "protocol/score_key.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cctype>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <stdexcept>
#include <thread>

extern char** environ;

namespace vastorim::test {
namespace {

constexpr int kTimeLimitMs = 10'000;

// Closes a descriptor when it goes out of scope.
struct Descriptor {
    int fd = -1;
    ~Descriptor() {
        if (fd >= 0) {
            close(fd);
        }
    }
};

// The first line a process writes on `fd`, waiting at most the time limit.
std::string firstLine(int fd) {
    std::string line;
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::milliseconds(kTimeLimitMs);
    while (line.find('\n') == std::string::npos) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        pollfd ready{fd, POLLIN, 0};
        char buffer[256];
        if (left.count() <= 0 || poll(&ready, 1, static_cast<int>(left.count())) <= 0) {
            break;
        }
        const ssize_t got = read(fd, buffer, sizeof buffer);
        if (got <= 0) {
            break;
        }
        line.append(buffer, static_cast<std::size_t>(got));
    }
    return line.substr(0, line.find('\n'));
}

std::string percentEncoded(const std::string& text) {
    std::string encoded;
    for (unsigned char c : text) {
        if (std::isalnum(c) || c == '-' || c == '.' || c == '_' || c == '~') {
            encoded += static_cast<char>(c);
        } else {
            char escape[4];
            std::snprintf(escape, sizeof escape, "%%%02X", c);
            encoded += escape;
        }
    }
    return encoded;
}

} // namespace

HttpReply httpGet(int port, const std::string& target) {
    Descriptor connection{socket(AF_INET, SOCK_STREAM, 0)};
    const timeval limit{kTimeLimitMs / 1000, 0};
    setsockopt(connection.fd, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);
    setsockopt(connection.fd, SOL_SOCKET, SO_SNDTIMEO, &limit, sizeof limit);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<std::uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (connect(connection.fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        return {};
    }
    const std::string request =
        "GET " + target + " HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: close\r\n\r\n";
    if (send(connection.fd, request.data(), request.size(), MSG_NOSIGNAL) !=
        static_cast<ssize_t>(request.size())) {
        return {};
    }
    std::string reply;
    char buffer[16384];
    for (ssize_t got; (got = recv(connection.fd, buffer, sizeof buffer, 0)) > 0;) {
        reply.append(buffer, static_cast<std::size_t>(got));
    }
    const std::size_t headersEnd = reply.find("\r\n\r\n");
    if (reply.rfind("HTTP/1.1 ", 0) != 0 || headersEnd == std::string::npos) {
        return {};
    }
    return {std::atoi(reply.c_str() + 9), reply.substr(headersEnd + 4)};
}

std::string submitTarget(const std::string& name, const std::string& score,
                         const std::string& key) {
    return "/submit.php?name=" + percentEncoded(name) + "&score=" + score + "&key=" + key;
}

std::string signedSubmitTarget(const std::string& name, std::int32_t score) {
    return submitTarget(name, std::to_string(score), scoreKey(name, score, kTestSecret));
}

RunningServer::RunningServer(const TempFolder& folder, const std::vector<std::string>& extra)
    : database_(folder.file("scores.sqlite")), logFile_(folder.file("server.log")) {
    std::vector<std::string> arguments = {VASTORIM_SERVER_PATH, "--port",   "0", "--db", database_,
                                          "--secret",           kTestSecret};
    arguments.insert(arguments.end(), extra.begin(), extra.end());
    std::vector<char*> argv;
    for (std::string& argument : arguments) {
        argv.push_back(argument.data());
    }
    argv.push_back(nullptr);

    int output[2];
    if (pipe(output) != 0) {
        throw std::runtime_error("cannot make a pipe");
    }
    Descriptor readEnd{output[0]};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, output[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, output[0]);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, logFile_.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const int spawned = posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(output[1]);
    if (spawned != 0) {
        pid_ = -1;
        throw std::runtime_error(std::string("cannot start ") + argv[0]);
    }
    const std::string line = firstLine(readEnd.fd);
    const std::string prefix = "vastorim-server: listening on http://127.0.0.1:";
    if (line.rfind(prefix, 0) != 0) {
        stop(SIGKILL);
        throw std::runtime_error("the server did not start: \"" + line + "\"; its log: " + log());
    }
    port_ = std::stoi(line.substr(prefix.size()));
}

RunningServer::~RunningServer() {
    if (pid_ > 0) {
        stop(SIGKILL);
    }
}

int RunningServer::stop(int signal) {
    kill(pid_, signal);
    int status = 0;
    for (int waited = 0; waitpid(pid_, &status, WNOHANG) == 0; waited += 10) {
        if (waited >= kTimeLimitMs) {
            kill(pid_, SIGKILL);
            waitpid(pid_, &status, 0);
            pid_ = -1;
            return -1;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    pid_ = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

} // namespace vastorim::test
