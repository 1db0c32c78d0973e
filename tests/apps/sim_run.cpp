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

SimResult runSim(const std::vector<std::string>& arguments) {
    std::string command = quoted(std::string(VASTORIM_PROGRAM_DIR) + "/vastorim-sim") + " --data " +
                          quoted(VASTORIM_PROGRAM_DIR);
    for (const std::string& argument : arguments) {
        command += " " + quoted(argument);
    }
    const test::CommandResult result = test::runCommand(command);
    return {result.status, result.out + result.err};
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

std::vector<TraceFrame> readTrace(const std::string& path) {
    std::vector<TraceFrame> frames;
    std::ifstream file(path);
    std::string line;
    while (std::getline(file, line)) {
        frames.emplace_back(line);
    }
    return frames;
}

} // namespace vastorim::testing
