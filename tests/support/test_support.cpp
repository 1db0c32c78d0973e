#include "support/test_support.h"

#include "platform/video.h"
#include "tools/music/wav_file.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <sys/wait.h>

namespace fs = std::filesystem;

namespace vastorim::test {

TempFolder::TempFolder() {
    std::string pattern = (fs::temp_directory_path() / "vastorim-test-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("cannot create a temporary folder");
    }
    path_ = pattern;
}

TempFolder::~TempFolder() {
    std::error_code error;
    fs::remove_all(path_, error);
}

void writeFile(const std::string& path, const std::string& bytes) {
    fs::create_directories(fs::path(path).parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string readFile(const std::string& path) {
    std::ifstream stream(path, std::ios::binary);
    std::ostringstream text;
    text << stream.rdbuf();
    return text.str();
}

std::vector<std::string> folderEntries(const std::string& folder) {
    std::vector<std::string> names;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

void writeQuadrantPicture(const std::string& path, int size, std::uint32_t topLeft,
                          std::uint32_t topRight, std::uint32_t bottomLeft,
                          std::uint32_t bottomRight) {
    fs::create_directories(fs::path(path).parent_path());
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(size) * size);
    for (std::size_t i = 0; i < pixels.size(); ++i) {
        const bool right = static_cast<int>(i) % size >= size / 2;
        const bool bottom = static_cast<int>(i) / size >= size / 2;
        pixels[i] = bottom ? (right ? bottomRight : bottomLeft) : (right ? topRight : topLeft);
    }
    platform::savePng(path, size, size, pixels);
}

void writeProgramFolder(const std::string& folder, const std::vector<std::string>& listLines) {
    std::string list;
    for (const std::string& line : listLines) {
        list += line + "\r\n";
        if (line != "END" && !line.empty()) {
            writePicture(folder + "/graphics/" + line, 8, 0xffffffff);
        }
    }
    writeFile(folder + "/graphics/resource list.txt", list);
    fs::create_directories(folder + "/sound");
    const std::vector<std::int16_t> leadInAndLoop((2418305 + 37786) / 2);
    music::writeFile(folder + "/sound/music.wav", music::encodeWav(leadInAndLoop, 22050));
}

std::uint32_t rgbAt(const std::vector<std::uint32_t>& pixels, int x, int y) {
    return pixels.at(static_cast<std::size_t>(y) * platform::surfaceWidth + x) & 0xffffff;
}

platform::Picture readPng(const std::string& path) {
    platform::Picture picture;
    std::string error;
    if (!platform::readPicture(path, picture, error)) {
        throw std::runtime_error(error);
    }
    return picture;
}

CommandResult runCommand(const std::string& command) {
    const TempFolder folder;
    const std::string out = folder.file("out"), err = folder.file("err");
    const int raw = std::system((command + " >'" + out + "' 2>'" + err + "'").c_str());
    return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, readFile(out), readFile(err)};
}

} // namespace vastorim::test
