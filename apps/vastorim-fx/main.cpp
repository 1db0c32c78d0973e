// vastorim-fx: tools for people who write effect files.
#include "fx_commands.h"

#include <iostream>
#include <stdexcept>

namespace {

const char* const kUsage =
    "usage: vastorim-fx check [--data DIR] FILE...   (with --data alone: the whole content)\n"
    "       vastorim-fx eval [--seed S] [--rng N] EXPR...\n"
    "       vastorim-fx show FILE\n"
    "       vastorim-fx render FILE --data DIR --out PNG [--at SECONDS] [--x X --y Y] [--rng N]"
    " [--frame-ms MS]\n"
    "       vastorim-fx preview FILE --data DIR\n"
    "       vastorim-fx gallery --data DIR --out PNG\n";

struct Command {
    const char* name;
    int (*run)(const std::vector<std::string>& args);
};

const Command kCommands[] = {
    {"check", vastorim::fx::checkCommand},     {"eval", vastorim::fx::evalCommand},
    {"show", vastorim::fx::showCommand},       {"render", vastorim::fx::renderCommand},
    {"preview", vastorim::fx::previewCommand}, {"gallery", vastorim::fx::galleryCommand},
};

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::cerr << kUsage;
        return 2;
    }
    std::string command = argv[1];
    std::vector<std::string> args(argv + 2, argv + argc);
    try {
        for (const Command& known : kCommands) {
            if (command == known.name) {
                return known.run(args);
            }
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
