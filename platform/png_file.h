#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace vastorim::platform {

// Writes pixels (row by row from the top, each 0xAARRGGBB) as a PNG file with alpha.
// Throws PlatformError naming the file when it cannot be written.
void savePng(const std::string& path, int width, int height, std::span<const std::uint32_t> pixels);

} // namespace vastorim::platform
