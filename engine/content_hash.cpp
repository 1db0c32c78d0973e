#include "engine/content_hash.h"

#include "engine/app_path.h"
#include "protocol/update_signing.h"

#include <array>
#include <fstream>
#include <iterator>
#include <sstream>
#include <vector>

namespace vastorim {
namespace {

// The parts are joined each with its name and length, so that no two sets of parts join alike.
void addPart(std::string& parts, const std::string& name, const std::string& bytes) {
    parts += name + "\n" + std::to_string(bytes.size()) + "\n" + bytes;
}

// The file's bytes, or a text no file can hold when there is none.
std::string fileBytes(const std::string& relative) {
    std::ifstream file(programFile(relative), std::ios::binary);
    if (!file) {
        return std::string("\0missing", 8);
    }
    return std::string(std::istreambuf_iterator<char>(file), {});
}

// The names of a list file up to its END line (line ends LF or CR LF).
std::vector<std::string> listedNames(const std::string& list) {
    std::istringstream lines(list);
    std::vector<std::string> names;
    for (std::string line; std::getline(lines, line);) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        if (line == "END") {
            break;
        }
        names.push_back(line);
    }
    return names;
}

// A PNG's width and height: the eight bytes after its signature and chunk header.
std::string pictureSize(const std::string& relative) {
    std::ifstream file(programFile(relative), std::ios::binary);
    std::array<char, 24> start{};
    file.read(start.data(), start.size());
    return file ? std::string(start.data() + 16, 8) : std::string("\0missing", 8);
}

} // namespace

std::string contentHash() {
    std::string parts;
    const std::string effects = fileBytes("effects/effect list.txt");
    addPart(parts, "effects/effect list.txt", effects);
    for (const std::string& name : listedNames(effects)) {
        addPart(parts, "effects/" + name, fileBytes("effects/" + name));
    }
    const std::string pictures = fileBytes("graphics/resource list.txt");
    addPart(parts, "graphics/resource list.txt", pictures);
    for (const std::string& name : listedNames(pictures)) {
        addPart(parts, "graphics/" + name, pictureSize("graphics/" + name));
    }
    addPart(parts, "sound/music.wav", fileBytes("sound/music.wav"));
    return sha256Hex(parts);
}

} // namespace vastorim
