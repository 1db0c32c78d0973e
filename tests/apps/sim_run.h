#pragma once

#include "support/test_support.h"

#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace vastorim::testing {

using test::readFile;
using test::TempFolder;
using test::writeFile;

// The shell command running vastorim-sim on a program folder (the build's by default).
inline std::string simCommand(const std::vector<std::string>& arguments,
                              const std::string& data = VASTORIM_PROGRAM_DIR) {
    std::string command = "'" VASTORIM_PROGRAM_DIR "/vastorim-sim' --data '" + data + "'";
    for (const std::string& argument : arguments) {
        command += " '" + argument + "'";
    }
    return command;
}

// One line of the trace, the flat JSON the sim writes; for the ship fields, the first ship's
// value is given.
struct TraceFrame {
    // The field's value as written, a text without its quotes.
    std::string text(const std::string& field) const {
        const std::string key = "\"" + field + "\":";
        const std::size_t at = line.find(key);
        if (at == std::string::npos) {
            throw std::runtime_error("no field " + field + " in " + line);
        }
        const std::size_t start = at + key.size();
        if (line[start] == '"') {
            return line.substr(start + 1, line.find('"', start + 1) - start - 1);
        }
        return line.substr(start, line.find_first_of(",}]", start) - start);
    }
    double number(const std::string& field) const { return std::stod(text(field)); }
    bool flag(const std::string& field) const { return text(field) == "true"; }
    std::string line;
};

struct SimRun {
    test::CommandResult result;
    std::vector<TraceFrame> trace;
};

// Plays the build's game with the key script (none when empty), tracing every frame into
// `folder`, which also receives any screenshots.
inline SimRun play(const TempFolder& folder, const std::string& keys,
                   std::vector<std::string> arguments) {
    if (!keys.empty()) {
        arguments.insert(arguments.end(), {"--input", folder.write("keys.txt", keys)});
    }
    arguments.insert(arguments.end(),
                     {"--trace", folder.file("trace.jsonl"), "--out", folder.path()});
    SimRun run{test::runCommand(simCommand(arguments)), {}};
    std::ifstream file(folder.file("trace.jsonl"));
    for (std::string line; std::getline(file, line);) {
        run.trace.push_back({line});
    }
    return run;
}

} // namespace vastorim::testing
