#include "server/server_options.h"

#include <charconv>
#include <functional>
#include <map>

namespace vastorim::server {

const char* const serverUsage =
    "usage: vastorim-server [--host ADDRESS] [--port N] [--db FILE] [--client-dir DIR]\n"
    "                       [--secret TEXT] [--rate N] [--trust-proxy]\n"
    "                       [--game-data DIR] [--verifiers N] [--replay-seconds N]\n"
    "                       [--verified-only]\n"
    "  Serves the online high-score table, the leaderboard page and the update directory.\n"
    "  --host ADDRESS   address to listen on (default 127.0.0.1; 0.0.0.0 for every interface)\n"
    "  --port N         port to listen on (default 8110; 0 picks a free port)\n"
    "  --db FILE        the SQLite database of scores (default vastorim-scores.sqlite)\n"
    "  --client-dir DIR the update directory, served under /client/ (default: none)\n"
    "  --secret TEXT    the key that signs submissions (default: $VASTORIM_SCORE_SECRET, else\n"
    "                   the secret built into the game)\n"
    "  --rate N         submissions a minute from one client address (default 30)\n"
    "  --trust-proxy    take the client address from X-Real-IP (behind a reverse proxy only)\n"
    "  --game-data DIR  the game's program folder: uploaded replays are played there with this\n"
    "                   build's vastorim-sim to verify their times (default: none, replays stay\n"
    "                   unverified)\n"
    "  --verifiers N    replays played at once (default 2)\n"
    "  --replay-seconds N  the time one replay may take to play (default 120)\n"
    "  --verified-only  the table lists verified entries only";

const char* builtInSecret() {
    return VASTORIM_SCORE_SECRET;
}

namespace {

int wholeNumber(const std::string& option, const std::string& text, int lowest, int highest) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < lowest ||
        value > highest) {
        throw UsageError(option + ": expected a whole number from " + std::to_string(lowest) +
                         " to " + std::to_string(highest) + ", got \"" + text + "\"");
    }
    return value;
}

} // namespace

ServerOptions parseServerOptions(const std::vector<std::string>& arguments,
                                 const char* environmentSecret) {
    ServerOptions options;
    options.secret = environmentSecret != nullptr ? environmentSecret : builtInSecret();
    using Setter = std::function<void(const std::string& option, const std::string& value)>;
    const std::map<std::string, Setter> valueOptions = {
        {"--host", [&](auto&, auto& value) { options.host = value; }},
        {"--port",
         [&](auto& option, auto& value) { options.port = wholeNumber(option, value, 0, 65535); }},
        {"--db", [&](auto&, auto& value) { options.database = value; }},
        {"--client-dir", [&](auto&, auto& value) { options.clientFolder = value; }},
        {"--secret", [&](auto&, auto& value) { options.secret = value; }},
        {"--game-data", [&](auto&, auto& value) { options.gameData = value; }},
        {"--verifiers",
         [&](auto& option, auto& value) { options.verifiers = wholeNumber(option, value, 1, 64); }},
        {"--replay-seconds",
         [&](auto& option, auto& value) {
             options.replaySeconds = wholeNumber(option, value, 1, 86400);
         }},
        {"--rate",
         [&](auto& option, auto& value) {
             options.submissionsPerMinute = wholeNumber(option, value, 1, 1'000'000'000);
         }},
    };
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& option = arguments[i];
        if (option == "--help" || option == "-h") {
            options.help = true;
            continue;
        }
        if (option == "--trust-proxy" || option == "--verified-only") {
            (option == "--trust-proxy" ? options.trustProxy : options.verifiedOnly) = true;
            continue;
        }
        const auto setter = valueOptions.find(option);
        if (setter == valueOptions.end()) {
            throw UsageError("unknown option \"" + option + "\"");
        }
        if (i + 1 == arguments.size()) {
            throw UsageError(option + ": a value is missing");
        }
        // The value is the next argument as it stands: a secret may begin with "-".
        const std::string& value = arguments[++i];
        if (value.empty()) {
            throw UsageError(option + ": the value is empty");
        }
        setter->second(option, value);
    }
    if (options.secret.empty()) {
        throw UsageError("the secret is empty");
    }
    return options;
}

} // namespace vastorim::server
