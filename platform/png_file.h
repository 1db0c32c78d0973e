#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace vastorim::platform {

// A picture in memory, in the pixel form the video surface uses: rows from the top, each pixel
// 0xAARRGGBB.
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;
};

// The largest picture the programs decode: pixels on a side where the renderer sets no smaller
// limit, and pixels in all, so that no file costs more than about 200 MB to load.
inline constexpr int largestPictureSide = 8192;
inline constexpr std::int64_t largestPictureArea = 4096 * 4096;

struct PictureSize {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
};

// A PNG's size as its header states it, from the file's first bytes; nothing when they do not
// start a PNG.
std::optional<PictureSize> pngHeaderSize(std::string_view firstBytes);

// Reads the header and the chunk lengths of a picture file before anything decodes it. Throws
// PlatformError saying what is wrong (without the path, which the caller adds) when the file
// cannot be read, is not a PNG, claims more than largestSide pixels on a side or
// largestPictureArea in all, or is cut short.
void checkPictureFile(const std::string& path, int largestSide);

// Writes pixels (row by row from the top, each 0xAARRGGBB) as a PNG file with alpha, into a
// temporary beside the file that is then renamed into place; may run on any thread. Throws
// PlatformError naming the file when it cannot be written.
void savePng(const std::string& path, int width, int height, std::span<const std::uint32_t> pixels);

// Writes the picture as a PNG with alpha; false, with a message in error, when it cannot.
bool writePicture(const std::string& path, const Picture& picture, std::string& error);

// Reads a PNG of at most largestPictureSide pixels on a side; false, with a one-line message
// naming the file in error, when it cannot.
bool readPicture(const std::string& path, Picture& picture, std::string& error);

} // namespace vastorim::platform
