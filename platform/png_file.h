#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace vastorim::platform {

// A picture in memory, in the pixel form the video surface uses: rows from the top, each pixel
// 0xAARRGGBB.
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;
};

// Writes pixels (row by row from the top, each 0xAARRGGBB) as a PNG file with alpha, into a
// temporary beside the file that is then renamed into place; may run on any thread. Throws
// PlatformError naming the file when it cannot be written.
void savePng(const std::string& path, int width, int height, std::span<const std::uint32_t> pixels);

// Writes the picture as a PNG with alpha; false, with a message in error, when it cannot.
bool writePicture(const std::string& path, const Picture& picture, std::string& error);

// Reads a PNG (or any format SDL_image knows); false, with a message in error, when it cannot.
bool readPicture(const std::string& path, Picture& picture, std::string& error);

} // namespace vastorim::platform
