#include "platform/image_file.h"

#include <SDL.h>
#include <SDL_image.h>

#include <cstring>

namespace vastorim::platform {

bool savePng(const std::string& path, const RgbaImage& image, std::string& error) {
    const std::size_t expected = static_cast<std::size_t>(image.width) * image.height * 4;
    if (image.width <= 0 || image.height <= 0 || image.pixels.size() != expected) {
        error = "picture size does not match its pixels";
        return false;
    }
    SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormatFrom(
        const_cast<std::uint8_t*>(image.pixels.data()), image.width, image.height, 32,
        image.width * 4, SDL_PIXELFORMAT_RGBA32);
    if (surface == nullptr) {
        error = SDL_GetError();
        return false;
    }
    const bool saved = IMG_SavePNG(surface, path.c_str()) == 0;
    if (!saved) {
        error = IMG_GetError();
    }
    SDL_FreeSurface(surface);
    return saved;
}

bool loadPng(const std::string& path, RgbaImage& image, std::string& error) {
    SDL_Surface* loaded = IMG_Load(path.c_str());
    if (loaded == nullptr) {
        error = IMG_GetError();
        return false;
    }
    SDL_Surface* rgba = SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_RGBA32, 0);
    SDL_FreeSurface(loaded);
    if (rgba == nullptr) {
        error = SDL_GetError();
        return false;
    }
    image.width = rgba->w;
    image.height = rgba->h;
    image.pixels.resize(static_cast<std::size_t>(rgba->w) * rgba->h * 4);
    SDL_LockSurface(rgba);
    for (int y = 0; y < rgba->h; ++y) {
        std::memcpy(image.pixels.data() + static_cast<std::size_t>(y) * rgba->w * 4,
                    static_cast<const std::uint8_t*>(rgba->pixels) +
                        static_cast<std::size_t>(y) * rgba->pitch,
                    static_cast<std::size_t>(rgba->w) * 4);
    }
    SDL_UnlockSurface(rgba);
    SDL_FreeSurface(rgba);
    return true;
}

} // namespace vastorim::platform
