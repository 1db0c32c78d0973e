#include "command_line_help.h"

#include "screens/menu_draw.h"

namespace vastorim {

namespace {

const char* const usage =
    "usage: vastorim [run | log_on]\n"
    "  vastorim          checks for updates (when the player allowed it), then starts the game\n"
    "  vastorim log_on   the same, writing each step of the update to client_log.txt\n"
    "  vastorim run      starts the game at once\n"
    "  --help, --version this text, the version\n"
    "environment:\n"
    "  VASTORIM_SERVER   the high-score and update server, e.g. https://scores.example.org\n"
    "  VASTORIM_CONSENT  yes or no: answers \"Allow updates?\" where no box can be shown\n"
    "tools beside the game:\n"
    "  vastorim-sim      the game headless: screenshots, traces, scripted input (--help)\n"
    "  vastorim-fx       effect files: check, eval, show, preview, render, gallery\n"
    "  vastorim-server   the high-score and update server\n";

} // namespace

std::optional<std::string> commandLineHelp(const std::vector<std::string>& arguments) {
    if (arguments.size() != 1) {
        return std::nullopt;
    }
    if (arguments[0] == "--help" || arguments[0] == "-h") {
        return usage;
    }
    if (arguments[0] == "--version") {
        return "vastorim " + programVersion() + "\n";
    }
    return std::nullopt;
}

} // namespace vastorim
