// vastorim-fx: tools for people who write effect files.
#include "fx_commands.h"

#include <iostream>
#include <stdexcept>

namespace {

const char* const kUsage =
    "usage: vastorim-fx check [--data DIR] FILE...\n"
    "       vastorim-fx eval [--seed S] [--rng N] EXPR...\n"
    "       vastorim-fx show FILE\n"
    "       vastorim-fx render FILE --data DIR --out PNG [--at SECONDS] [--x X --y Y] [--rng N]"
    " [--frame-ms MS]\n"
    "       vastorim-fx preview FILE --data DIR\n";

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::cerr << kUsage;
        return 2;
    }
    std::string command = argv[1];
    std::vector<std::string> args(argv + 2, argv + argc);
    try {
        if (command == "check") {
            return vastorim::fx::checkCommand(args);
        }
        if (command == "eval") {
            return vastorim::fx::evalCommand(args);
        }
        if (command == "show") {
            return vastorim::fx::showCommand(args);
        }
        if (command == "render") {
            return vastorim::fx::renderCommand(args);
        }
        if (command == "preview") {
            return vastorim::fx::previewCommand(args);
        }
    } catch (const std::invalid_argument& error) {
        std::cerr << "vastorim-fx " << command << ": " << error.what() << '\n' << kUsage;
        return 2;
    } catch (const std::exception& error) {
        std::cerr << error.what() << '\n';
        return 1;
    }
    std::cerr << kUsage;
    return 2;
}
