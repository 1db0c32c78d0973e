// vastorim-server: the online high-score table, the verified replays, the leaderboard page and
// the update directory;
// and, for whoever publishes a release, its key and its signed lists.
#include "server/release_publishing.h"
#include "server/score_server.h"
#include "server/server_options.h"
#include "server/stop_signals.h"

#include <cstdlib>
#include <filesystem>
#include <iostream>

int main(int argc, char** argv) {
    using namespace vastorim::server;
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    if (!arguments.empty() && (arguments.front() == "keygen" || arguments.front() == "publish")) {
        return runReleaseCommand(arguments);
    }
    holdStopSignals();
    ServerOptions options;
    try {
        options = parseServerOptions(arguments, std::getenv("VASTORIM_SCORE_SECRET"));
    } catch (const UsageError& error) {
        std::cerr << "vastorim-server: " << error.what() << '\n' << serverUsage << '\n';
        return 2;
    }
    // Replays are played by the runner of this same build, which lies beside the server.
    std::error_code noLink;
    options.simulator =
        (std::filesystem::read_symlink("/proc/self/exe", noLink).parent_path() / "vastorim-sim")
            .string();
    if (options.help) {
        std::cout << serverUsage << '\n' << releaseUsage << '\n';
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
