#include "sim_run.h"

#include <fstream>
#include <stdexcept>

namespace vastorim::testing {
namespace {

std::string quoted(const std::string& argument) {
    std::string text = "'";
    for (char c : argument) {
        text += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return text + "'";
}

} // namespace

std::string simCommand(const std::vector<std::string>& arguments, const std::string& data) {
    std::string command =
        quoted(std::string(VASTORIM_PROGRAM_DIR) + "/vastorim-sim") + " --data " + quoted(data);
    for (const std::string& argument : arguments) {
        command += " " + quoted(argument);
    }
    return command;
}

std::string TraceFrame::valueText(const std::string& field) const {
    const std::string key = "\"" + field + "\":";
    const std::size_t at = line_.find(key);
    if (at == std::string::npos) {
        throw std::runtime_error("no field " + field + " in " + line_);
    }
    const std::size_t start = at + key.size();
    if (line_[start] == '"') {
        return line_.substr(start, line_.find('"', start + 1) - start + 1);
    }
    return line_.substr(start, line_.find_first_of(",}]", start) - start);
}

double TraceFrame::number(const std::string& field) const {
    return std::stod(valueText(field));
}

bool TraceFrame::flag(const std::string& field) const {
    return valueText(field) == "true";
}

std::string TraceFrame::text(const std::string& field) const {
    const std::string value = valueText(field);
    return value.substr(1, value.size() - 2);
}

SimRun play(const TempFolder& folder, const std::string& keys, std::vector<std::string> arguments) {
    if (!keys.empty()) {
        writeFile(folder.file("keys.txt"), keys);
        arguments.insert(arguments.end(), {"--input", folder.file("keys.txt")});
    }
    arguments.insert(arguments.end(),
                     {"--trace", folder.file("trace.jsonl"), "--out", folder.path()});
    SimRun run{test::runCommand(simCommand(arguments)), {}};
    std::ifstream file(folder.file("trace.jsonl"));
    for (std::string line; std::getline(file, line);) {
        run.trace.emplace_back(line);
    }
    return run;
}

} // namespace vastorim::testing
