#pragma once

#include <fstream>
#include <string>
#include <vector>

namespace vastorim::testing {

inline const std::string programDir = VASTORIM_PROGRAM_DIR;

// The lines of a list file before its "END" line; `ended` tells whether there is one.
inline std::vector<std::string> readList(const std::string& path, bool* ended = nullptr) {
    std::ifstream file(path);
    std::vector<std::string> lines;
    for (std::string line; std::getline(file, line);) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        if (line == "END") {
            if (ended != nullptr) {
                *ended = true;
            }
            break;
        }
        lines.push_back(line);
    }
    return lines;
}

inline std::vector<std::string> listedEffects() {
    return readList(programDir + "/effects/effect list.txt");
}

} // namespace vastorim::testing
