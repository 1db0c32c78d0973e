#include "platform/png_file.h"

#include "platform/platform_error.h"

#include <SDL.h>
#include <SDL_image.h>

#include <vector>

namespace vastorim::platform {

void savePng(const std::string& path, int width, int height,
             std::span<const std::uint32_t> pixels) {
    if (width <= 0 || height <= 0 || pixels.size() != static_cast<std::size_t>(width) * height) {
        throw PlatformError(path + ": the picture's size does not match its pixels");
    }
    // SDL wants writable pixels even though saving only reads them.
    std::vector<std::uint32_t> copy(pixels.begin(), pixels.end());
    SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormatFrom(copy.data(), width, height, 32,
                                                              width * 4, SDL_PIXELFORMAT_ARGB8888);
    if (surface == nullptr) {
        throw PlatformError(path + ": " + SDL_GetError());
    }
    int result = IMG_SavePNG(surface, path.c_str());
    SDL_FreeSurface(surface);
    if (result != 0) {
        throw PlatformError(path + ": cannot write the picture: " + IMG_GetError());
    }
}

} // namespace vastorim::platform
