#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vastorim::platform {

// A picture in memory: rows top to bottom, four bytes per pixel in the order R, G, B, A.
struct RgbaImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> pixels;
};

// Writes the picture as a PNG with alpha; false (and a message in error) when it cannot.
bool savePng(const std::string& path, const RgbaImage& image, std::string& error);

// Reads a PNG (or any format SDL_image knows) into RGBA; false (and a message) when it cannot.
bool loadPng(const std::string& path, RgbaImage& image, std::string& error);

} // namespace vastorim::platform
