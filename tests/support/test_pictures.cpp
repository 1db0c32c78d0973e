// The helpers that make and read pictures and program folders: they need the platform layer,
// which the server's tests do not link.
#include "support/test_support.h"

#include "platform/video.h"
#include "support/test_wav.h"

#include <filesystem>
#include <stdexcept>

namespace fs = std::filesystem;

namespace vastorim::test {

void writeQuadrantPicture(const std::string& path, int size, std::uint32_t topLeft,
                          std::uint32_t topRight, std::uint32_t bottomLeft,
                          std::uint32_t bottomRight) {
    fs::create_directories(fs::path(path).parent_path());
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(size) * size);
    int half = size / 2;
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            std::uint32_t colour =
                y < half ? (x < half ? topLeft : topRight) : (x < half ? bottomLeft : bottomRight);
            pixels[static_cast<std::size_t>(y) * size + x] = colour;
        }
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
    // Start-up needs a track; these runs never play past the first second.
    fs::create_directories(folder + "/sound");
    writeWav16(folder + "/sound/music.wav", 22050, 1, std::vector<std::int16_t>(22050));
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
