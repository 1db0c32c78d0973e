#pragma once

#include "support/test_support.h"

#include <csignal>
#include <cstdint>
#include <string>
#include <sys/types.h>
#include <vector>

namespace vastorim::test {

// The secret every server in these tests signs with.
inline constexpr const char* kTestSecret = "test secret";

struct HttpReply {
    int status = 0; // 0: no reply
    std::string body;
};

// One GET on a new connection to 127.0.0.1:`port`, with `target` sent exactly as written (not
// percent-encoded again); at most 10 s.
HttpReply httpGet(int port, const std::string& target);

// The submission request for a name and score signed with `key`, the name percent-encoded.
std::string submitTarget(const std::string& name, const std::string& score, const std::string& key);
// The same, signed with the tests' secret.
std::string signedSubmitTarget(const std::string& name, std::int32_t score);

// `vastorim-server publish` in `releaseFolder` with the tests' update key into `clientFolder`,
// the other arguments as written ("--version 11027 a.txt").
CommandResult publishRelease(const std::string& releaseFolder, const std::string& clientFolder,
                             const std::string& arguments);

// The real vastorim-server on a free port of 127.0.0.1 with a database in `folder`, started and
// waited for (at most 10 s); killed at the end if it is still running.
class RunningServer {
  public:
    explicit RunningServer(const TempFolder& folder, const std::vector<std::string>& extra = {});
    ~RunningServer();
    RunningServer(const RunningServer&) = delete;
    RunningServer& operator=(const RunningServer&) = delete;

    int port() const { return port_; }
    std::string url() const { return "http://127.0.0.1:" + std::to_string(port_); }
    const std::string& database() const { return database_; }
    HttpReply get(const std::string& target) const { return httpGet(port_, target); }
    // Sends the signal and gives the exit status (-1: killed after 10 s without exiting).
    int stop(int signal = SIGTERM);
    // What the server wrote on stderr so far.
    std::string log() const { return readFile(logFile_); }

  private:
    pid_t pid_ = -1;
    int port_ = 0;
    std::string database_;
    std::string logFile_;
};

} // namespace vastorim::test
