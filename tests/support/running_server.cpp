#include "support/running_server.h"

#include "protocol/score_key.h"

#include <httplib.h>

#include <signal.h>

#include <chrono>
#include <cstring>
#include <sstream>
#include <stdexcept>
#include <thread>

namespace vastorim::test {
namespace {

constexpr int kTimeLimitSeconds = 10;

// The file's first line once it is whole, within the time limit; empty when it never is.
std::string awaitLine(const std::string& path) {
    for (int waited = 0; waited < kTimeLimitSeconds * 100; ++waited) {
        const std::string text = readFile(path);
        if (const std::size_t end = text.find('\n'); end != std::string::npos) {
            return text.substr(0, end);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return "";
}

} // namespace

std::string submitTarget(const std::string& name, std::int32_t score, std::string key) {
    return "/submit.php?name=" + httplib::detail::encode_query_param(name) +
           "&score=" + std::to_string(score) +
           "&key=" + (key.empty() ? scoreKey(name, score, VASTORIM_SCORE_SECRET) : key);
}

std::string replayTarget(const std::string& name, std::int32_t score, std::string key) {
    return "/replay" + submitTarget(name, score, key).substr(std::strlen("/submit.php"));
}

std::string browserCommand(const TempFolder& folder) {
    return "timeout 120 chromium --headless --no-sandbox --disable-gpu --disable-quic "
           "--no-first-run --disable-background-networking --disable-component-update "
           "--disable-sync --user-data-dir='" +
           folder.file("chromium-profile") + "'";
}

CommandResult publishRelease(const std::string& releaseFolder, const std::string& clientFolder,
                             const std::string& arguments) {
    return runCommand("cd '" + releaseFolder + "' && '" VASTORIM_SERVER_PATH "' publish --key '" +
                      VASTORIM_SOURCE_DIR "/tests/keys/test-update-key.pem' --client-dir '" +
                      clientFolder + "' " + arguments);
}

RunningServer::RunningServer(const TempFolder& folder, const std::string& options)
    : folder_(folder.path()) {
    // The shell notes the server's process id and, once it has ended, its exit status.
    const std::string command = "cd '" + folder_ +
                                "' && ('" VASTORIM_SERVER_PATH
                                "' --port 0 --db scores.sqlite --secret '" VASTORIM_SCORE_SECRET
                                "' " +
                                options +
                                " >address 2>server.log & echo $! >pid; wait $!; echo $? "
                                ">status) </dev/null >/dev/null 2>&1 &";
    const std::string pid = std::system(command.c_str()) == 0 ? awaitLine(folder_ + "/pid") : "";
    pid_ = pid.empty() ? -1 : std::stoi(pid);
    const std::string prefix = "vastorim-server: listening on ";
    const std::string address = pid_ > 0 ? awaitLine(folder_ + "/address") : "";
    if (!address.starts_with(prefix)) {
        stop(SIGKILL);
        throw std::runtime_error("the server did not start: \"" + address + "\"; " + log());
    }
    base_ = address.substr(prefix.size());
}

namespace {

httplib::Client boundedClient(const std::string& base) {
    httplib::Client client(base);
    client.set_url_encode(false);
    client.set_connection_timeout(kTimeLimitSeconds);
    client.set_read_timeout(kTimeLimitSeconds);
    client.set_write_timeout(kTimeLimitSeconds);
    return client;
}

HttpReply replyOf(const httplib::Result& reply) {
    return reply ? HttpReply{reply->status, reply->body} : HttpReply{};
}

} // namespace

HttpReply RunningServer::get(const std::string& target) const {
    return replyOf(boundedClient(base_).Get(target));
}

HttpReply RunningServer::post(const std::string& target, const std::string& body) const {
    return replyOf(boundedClient(base_).Post(target, body, "application/octet-stream"));
}

bool RunningServer::relay(const httplib::Request& request, httplib::Response& response) const {
    const HttpReply reply = get(request.target);
    response.status = reply.status;
    response.body = reply.body;
    return true;
}

int RunningServer::stop(int signal) {
    if (pid_ <= 0) {
        return -1;
    }
    kill(pid_, signal);
    const std::string status = awaitLine(folder_ + "/status");
    if (status.empty()) {
        kill(pid_, SIGKILL);
        awaitLine(folder_ + "/status");
    }
    pid_ = -1;
    return status.empty() ? -1 : std::stoi(status);
}

std::vector<std::string> RunningServer::requests() const {
    std::vector<std::string> requests;
    std::istringstream lines(log());
    for (std::string line; std::getline(lines, line);) {
        // "127.0.0.1 GET /path 200 0.4 ms"
        if (line.starts_with("127.0.0.1 ")) {
            requests.push_back(line.substr(10, line.rfind(' ', line.size() - 4) - 10));
        }
    }
    return requests;
}

} // namespace vastorim::test
