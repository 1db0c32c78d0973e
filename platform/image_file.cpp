#include "platform/image_file.h"

#include "platform/platform_error.h"
#include "platform/png_file.h"

#include <SDL.h>
#include <SDL_image.h>

#include <cstring>

namespace vastorim::platform {

bool writePicture(const std::string& path, const Picture& picture, std::string& error) {
    try {
        savePng(path, picture.width, picture.height, picture.pixels);
        return true;
    } catch (const PlatformError& e) {
        error = e.what();
        return false;
    }
}

bool readPicture(const std::string& path, Picture& picture, std::string& error) {
    SDL_Surface* loaded = IMG_Load(path.c_str());
    if (loaded == nullptr) {
        error = path + ": " + IMG_GetError();
        return false;
    }
    SDL_Surface* argb = SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_ARGB8888, 0);
    SDL_FreeSurface(loaded);
    if (argb == nullptr) {
        error = path + ": " + SDL_GetError();
        return false;
    }
    picture.width = argb->w;
    picture.height = argb->h;
    picture.pixels.resize(static_cast<std::size_t>(argb->w) * argb->h);
    SDL_LockSurface(argb);
    for (int y = 0; y < argb->h; ++y) {
        std::memcpy(picture.pixels.data() + static_cast<std::size_t>(y) * argb->w,
                    static_cast<const std::uint8_t*>(argb->pixels) +
                        static_cast<std::size_t>(y) * argb->pitch,
                    static_cast<std::size_t>(argb->w) * 4);
    }
    SDL_UnlockSurface(argb);
    SDL_FreeSurface(argb);
    return true;
}

} // namespace vastorim::platform
