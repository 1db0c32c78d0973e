// Child processes on POSIX: posix_spawn in a process group of the child's own, with its output
// read through pipes while the parent watches the clock.
#include "server/child_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstring>

extern char** environ;

namespace vastorim::server {
namespace {

constexpr std::size_t kOutputLimit = 64 * 1024;
constexpr int kPollMilliseconds = 50;

using Clock = std::chrono::steady_clock;

// Both ends close on exec: the child gets its end through a dup2, no other child ever sees it.
bool openPipe(std::array<int, 2>& ends) {
    return pipe2(ends.data(), O_CLOEXEC) == 0;
}

void closeAll(std::initializer_list<int> descriptors) {
    for (int descriptor : descriptors) {
        if (descriptor >= 0) {
            close(descriptor);
        }
    }
}

// Reads what the pipe holds into `text`, keeping the first kOutputLimit bytes; false at its end.
bool readSome(int descriptor, std::string& text) {
    char chunk[4096];
    const ssize_t got = read(descriptor, chunk, sizeof chunk);
    if (got < 0) {
        return errno == EINTR || errno == EAGAIN;
    }
    text.append(chunk, std::min(static_cast<std::size_t>(got), kOutputLimit - text.size()));
    return got > 0;
}

pid_t spawn(const std::string& program, const std::vector<std::string>& arguments, int out, int err,
            std::string& problem) {
    std::vector<char*> argv{const_cast<char*>(program.c_str())};
    for (const std::string& argument : arguments) {
        argv.push_back(const_cast<char*>(argument.c_str()));
    }
    argv.push_back(nullptr);
    posix_spawnattr_t attributes;
    posix_spawn_file_actions_t actions;
    posix_spawnattr_init(&attributes);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP);
    posix_spawnattr_setpgroup(&attributes, 0);
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, out, 1);
    posix_spawn_file_actions_adddup2(&actions, err, 2);
    // The server's sockets among them: a child must never hold a connection or the port.
    posix_spawn_file_actions_addclosefrom_np(&actions, 3);
    pid_t child = -1;
    const int error =
        posix_spawn(&child, program.c_str(), &actions, &attributes, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    if (error != 0) {
        problem = program + ": " + std::strerror(error);
        return -1;
    }
    return child;
}

} // namespace

ChildOutcome runChild(const std::string& program, const std::vector<std::string>& arguments,
                      std::chrono::milliseconds limit, const std::atomic<bool>& cancelled) {
    ChildOutcome outcome;
    std::array<int, 2> out{-1, -1}, err{-1, -1};
    if (!openPipe(out) || !openPipe(err)) {
        outcome.problem = std::string("cannot make a pipe: ") + std::strerror(errno);
        closeAll({out[0], out[1], err[0], err[1]});
        return outcome;
    }
    const pid_t child = spawn(program, arguments, out[1], err[1], outcome.problem);
    closeAll({out[1], err[1]});
    if (child < 0) {
        closeAll({out[0], err[0]});
        return outcome;
    }
    outcome.started = true;
    const Clock::time_point deadline = Clock::now() + limit;
    std::array<pollfd, 2> pipes{pollfd{out[0], POLLIN, 0}, pollfd{err[0], POLLIN, 0}};
    std::array<std::string*, 2> texts{&outcome.out, &outcome.err};
    int status = 0;
    bool reaped = false;
    // Until the child has ended and both pipes are drained (or whatever it left behind that
    // holds them open is killed with it at the limit).
    while (!reaped || pipes[0].fd >= 0 || pipes[1].fd >= 0) {
        if (Clock::now() >= deadline || cancelled) {
            kill(-child, SIGKILL);
            outcome.killed = true;
            break;
        }
        if (poll(pipes.data(), pipes.size(), kPollMilliseconds) > 0) {
            for (std::size_t i = 0; i < pipes.size(); ++i) {
                if (pipes[i].fd >= 0 && pipes[i].revents != 0 &&
                    !readSome(pipes[i].fd, *texts[i])) {
                    close(pipes[i].fd);
                    pipes[i].fd = -1;
                }
            }
        }
        reaped = reaped || waitpid(child, &status, WNOHANG) == child;
    }
    if (!reaped) {
        waitpid(child, &status, 0);
    }
    closeAll({pipes[0].fd, pipes[1].fd});
    if (!outcome.killed && WIFEXITED(status)) {
        outcome.exitStatus = WEXITSTATUS(status);
    }
    return outcome;
}

} // namespace vastorim::server
