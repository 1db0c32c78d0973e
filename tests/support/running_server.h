#pragma once

#include "support/test_support.h"

#include <csignal>
#include <cstdint>
#include <string>
#include <vector>

namespace vastorim::test {

struct HttpReply {
    int status = 0; // 0: no reply
    std::string body;
};

// One GET on a new connection to `base`, with `target` sent as written; at most 10 s.
HttpReply httpGet(const std::string& base, const std::string& target);

// The submission of a name and a score with `key`, the name percent-encoded.
std::string submitTarget(const std::string& name, const std::string& score, const std::string& key);
// The same, signed with the game's secret.
std::string signedSubmitTarget(const std::string& name, std::int32_t score);

// The build's vastorim-server on a free port of 127.0.0.1, signing with the game's secret, its
// database and its log in `folder`; started and waited for (at most 10 s), killed at the end if
// it still runs. `options` are added to its command line as shell words.
class RunningServer {
  public:
    explicit RunningServer(const TempFolder& folder, const std::string& options = "");
    ~RunningServer();
    RunningServer(const RunningServer&) = delete;
    RunningServer& operator=(const RunningServer&) = delete;

    const std::string& base() const { return base_; } // "http://127.0.0.1:PORT"
    std::string database() const { return folder_ + "/scores.sqlite"; }
    HttpReply get(const std::string& target) const { return httpGet(base_, target); }
    std::string table() const { return get("/highscores.php?query=score_list").body; }
    // Sends the signal and gives the exit status (128 + N after signal N; -1 when it had to be
    // killed after 10 s).
    int stop(int signal = SIGTERM);
    // What it wrote on stderr so far, and of that the requests: "GET /path STATUS" each.
    std::string log() const { return readFile(folder_ + "/server.log"); }
    std::vector<std::string> requests() const;

  private:
    std::string folder_;
    std::string base_;
    int pid_ = -1;
};

} // namespace vastorim::test
