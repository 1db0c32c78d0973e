// vastorim-server: the online high-score table, the leaderboard page and the update directory.
#include "server/score_server.h"
#include "server/server_options.h"
#include "server/stop_signals.h"

#include <cstdlib>
#include <iostream>

int main(int argc, char** argv) {
    using namespace vastorim::server;
    holdStopSignals();
    ServerOptions options;
    try {
        options = parseServerOptions(std::vector<std::string>(argv + 1, argv + argc),
                                     std::getenv("VASTORIM_SCORE_SECRET"));
    } catch (const UsageError& error) {
        std::cerr << "vastorim-server: " << error.what() << '\n' << serverUsage << '\n';
        return 2;
    }
    if (options.help) {
        std::cout << serverUsage << '\n';
        return 0;
    }
    try {
        ScoreServer server(options);
        server.bind();
        if (options.secret == builtInSecret()) {
            std::cerr << "vastorim-server: signing with the secret built into the game\n";
        }
        // One line on standard output, for whoever started the server to find it.
        std::cout << "vastorim-server: listening on " << server.address() << std::endl;
        if (!serveUntilStopSignal(server)) {
            std::cerr << "vastorim-server: listening on " << server.address() << " failed\n";
            return 1;
        }
    } catch (const std::exception& error) {
        std::cerr << "vastorim-server: " << error.what() << '\n';
        return 1;
    }
    std::cerr << "vastorim-server: stopped\n";
    return 0;
}
