// The helpers that make and read pictures and program folders: they need the platform layer,
// which the server's tests do not link.
#include "support/test_support.h"

#include "platform/video.h"
#include "tools/music/wav_file.h"

#include <filesystem>
#include <stdexcept>

namespace fs = std::filesystem;

namespace vastorim::test {

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

} // namespace vastorim::test
