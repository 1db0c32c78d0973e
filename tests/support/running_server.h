#pragma once

#include "support/test_support.h"

#include <httplib.h>

#include <csignal>
#include <cstdint>
#include <string>
#include <vector>

namespace vastorim::test {

struct HttpReply {
    int status = 0; // 0: no reply
    std::string body;
};

// The submission of a name (percent-encoded here) and a score with `key`, by default the one the
// game's secret gives.
std::string submitTarget(const std::string& name, std::int32_t score, std::string key = "");

// The same for the replay's upload that follows the submission.
std::string replayTarget(const std::string& name, std::int32_t score, std::string key = "");

// Debian's chromium, headless and bounded, with its profile in `folder`; add --dump-dom or
// --screenshot and the address.
std::string browserCommand(const TempFolder& folder);

// `vastorim-server publish` in `releaseFolder` with the tests' update key (tests/keys) into
// `clientFolder`, the other arguments as shell words ("--version 11027 a.txt").
CommandResult publishRelease(const std::string& releaseFolder, const std::string& clientFolder,
                             const std::string& arguments);

// The build's vastorim-server on a free port of 127.0.0.1, signing with the game's secret, with
// its database and log in `folder`; started and waited for (at most 10 s), killed at the end if it
// still runs. `options` are added to its command line as shell words.
class RunningServer {
  public:
    explicit RunningServer(const TempFolder& folder, const std::string& options = "");
    ~RunningServer() { stop(SIGKILL); }
    RunningServer(const RunningServer&) = delete;

    const std::string& base() const { return base_; } // "http://127.0.0.1:PORT"
    std::string database() const { return folder_ + "/scores.sqlite"; }
    // One GET on a new connection, `target` sent as written; at most 10 s.
    HttpReply get(const std::string& target) const;
    // One POST of `body` (application/octet-stream) on a new connection; at most 10 s.
    HttpReply post(const std::string& target, const std::string& body) const;
    std::string table() const { return get("/highscores.php?query=score_list").body; }
    // Answers a request made elsewhere (to a LoopbackServer in front of this one) with this
    // server's reply to its target.
    bool relay(const httplib::Request& request, httplib::Response& response) const;
    // Sends the signal and gives the exit status (128 + N after signal N), or -1 when the server
    // has not ended 10 s later (it is killed then).
    int stop(int signal = SIGTERM);
    std::string log() const { return readFile(folder_ + "/server.log"); } // its stderr
    std::vector<std::string> requests() const; // "GET /path STATUS" of each request logged

  private:
    std::string folder_;
    std::string base_;
    int pid_ = -1;
};

} // namespace vastorim::test
