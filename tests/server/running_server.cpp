#include "running_server.h"

#include "protocol/score_key.h"

#include <httplib.h>

#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fcntl.h>
#include <stdexcept>
#include <thread>

extern char** environ;

namespace vastorim::test {
namespace {

constexpr int kTimeLimitMs = 10'000;

// The first line a process writes on `fd`. The server writes it at once; the limit bounds a
// server that never does.
std::string firstLine(int fd) {
    std::string line;
    pollfd ready{fd, POLLIN, 0};
    char c = 0;
    while (poll(&ready, 1, kTimeLimitMs) > 0 && read(fd, &c, 1) == 1 && c != '\n') {
        line += c;
    }
    return line;
}

} // namespace

HttpReply httpGet(int port, const std::string& target) {
    httplib::Client client("127.0.0.1", port);
    client.set_url_encode(false);
    client.set_connection_timeout(kTimeLimitMs / 1000);
    client.set_read_timeout(kTimeLimitMs / 1000);
    const httplib::Result reply = client.Get(target);
    return reply ? HttpReply{reply->status, reply->body} : HttpReply{};
}

std::string submitTarget(const std::string& name, const std::string& score,
                         const std::string& key) {
    return "/submit.php?name=" + httplib::detail::encode_query_param(name) + "&score=" + score +
           "&key=" + key;
}

std::string signedSubmitTarget(const std::string& name, std::int32_t score) {
    return submitTarget(name, std::to_string(score), scoreKey(name, score, kTestSecret));
}

CommandResult publishRelease(const std::string& releaseFolder, const std::string& clientFolder,
                             const std::string& arguments) {
    return runCommand("cd '" + releaseFolder + "' && '" VASTORIM_SERVER_PATH "' publish --key '" +
                      VASTORIM_SOURCE_DIR "/tests/keys/test-update-key.pem' --client-dir '" +
                      clientFolder + "' " + arguments);
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
        close(output[0]);
        pid_ = -1;
        throw std::runtime_error(std::string("cannot start ") + argv[0]);
    }
    const std::string line = firstLine(output[0]);
    close(output[0]);
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
