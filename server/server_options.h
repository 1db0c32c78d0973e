#pragma once

#include <stdexcept>
#include <string>
#include <vector>

namespace vastorim::server {

// How one server runs; filled from the command line and the environment.
struct ServerOptions {
    std::string host = "127.0.0.1";
    int port = 8110; // 0: any free port
    std::string database = "vastorim-scores.sqlite";
    std::string clientFolder; // the update directory served under /client/; empty: none
    std::string secret;       // the key that signs score submissions
    int submissionsPerMinute = 30;
    // Behind a reverse proxy every request comes from the proxy: the client's address is then
    // read from the X-Real-IP header the proxy sets (and only then: a client could forge it).
    bool trustProxy = false;
    // The game's program folder: uploaded replays are played there to verify their entries.
    // Empty: replays are stored and stay unverified.
    std::string gameData;
    std::string simulator; // vastorim-sim of this build; main() finds it beside the server
    int verifiers = 2;     // replays played at once
    int replaySeconds = 120;
    bool verifiedOnly = false; // the table, its JSON and the page list verified entries only
    bool help = false;
};

// A command line that cannot be run; what() says why.
class UsageError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// `environmentSecret` is VASTORIM_SCORE_SECRET from the environment (nullptr when unset); it
// stands in for --secret, and the build's secret stands in for both.
ServerOptions parseServerOptions(const std::vector<std::string>& arguments,
                                 const char* environmentSecret);

// The secret this build signs with when nothing else is given.
const char* builtInSecret();

extern const char* const serverUsage;

} // namespace vastorim::server
