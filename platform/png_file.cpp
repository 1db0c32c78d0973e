#include "platform/png_file.h"

#include "platform/platform_error.h"
#include "platform/replaced_files.h"

#include <SDL.h>
#include <SDL_image.h>

#include <cstring>
#include <fstream>
#include <vector>

namespace vastorim::platform {
namespace {

std::uint32_t bigEndian(const char* bytes) {
    std::uint32_t value = 0;
    for (int i = 0; i < 4; ++i) {
        value = value << 8 | static_cast<unsigned char>(bytes[i]);
    }
    return value;
}

// The decoder reads a file cut short as if its last bytes came again, and can go round the same
// chunk for ever: every chunk up to the end chunk must lie inside the file before it starts.
void checkChunksFit(std::ifstream& file) {
    file.clear();
    file.seekg(0, std::ios::end);
    const auto size = static_cast<std::uint64_t>(file.tellg());
    std::uint64_t at = 8; // after the signature
    char header[8];
    while (file.seekg(static_cast<std::streamoff>(at)) && file.read(header, sizeof header)) {
        const std::uint64_t end = at + 12 + bigEndian(header);
        if (end > size) {
            throw PlatformError("the picture is cut short: a chunk at byte " + std::to_string(at) +
                                " needs " + std::to_string(end) + " bytes, the file has " +
                                std::to_string(size));
        }
        if (std::string_view(header + 4, 4) == "IEND") {
            return;
        }
        at = end;
    }
    throw PlatformError("the picture is cut short: it has no end chunk");
}

} // namespace

std::optional<PictureSize> pngHeaderSize(std::string_view firstBytes) {
    // The signature, then the IHDR chunk: its length, its name, the width and the height.
    constexpr std::string_view signature = "\x89PNG\r\n\x1a\n";
    if (firstBytes.size() < 24 || !firstBytes.starts_with(signature) ||
        firstBytes.substr(12, 4) != "IHDR") {
        return std::nullopt;
    }
    return PictureSize{bigEndian(firstBytes.data() + 16), bigEndian(firstBytes.data() + 20)};
}

void checkPictureFile(const std::string& path, int largestSide) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        throw PlatformError("the picture file cannot be opened");
    }
    char header[24];
    file.read(header, sizeof header);
    const std::optional<PictureSize> size =
        pngHeaderSize({header, static_cast<std::size_t>(file.gcount())});
    if (!size) {
        throw PlatformError("not a PNG picture");
    }
    const auto side = static_cast<std::uint32_t>(largestSide);
    if (size->width > side || size->height > side ||
        std::int64_t{size->width} * size->height > largestPictureArea) {
        throw PlatformError("the picture is " + std::to_string(size->width) + " x " +
                            std::to_string(size->height) + " pixels, more than the " +
                            std::to_string(largestSide) + " on a side and " +
                            std::to_string(largestPictureArea) + " in all that can be loaded");
    }
    checkChunksFit(file);
}

namespace {

// What SDL_image writes, gathered in memory so that the picture reaches its file in one
// replacement.
SDL_RWops* memoryWriter(std::string& bytes) {
    SDL_RWops* stream = SDL_AllocRW();
    if (stream == nullptr) {
        return nullptr;
    }
    stream->type = SDL_RWOPS_UNKNOWN;
    stream->hidden.unknown.data1 = &bytes;
    stream->size = [](SDL_RWops*) -> Sint64 { return -1; };
    stream->seek = [](SDL_RWops*, Sint64, int) -> Sint64 { return -1; };
    stream->read = [](SDL_RWops*, void*, std::size_t, std::size_t) -> std::size_t { return 0; };
    stream->write = [](SDL_RWops* self, const void* data, std::size_t size,
                       std::size_t count) -> std::size_t {
        static_cast<std::string*>(self->hidden.unknown.data1)
            ->append(static_cast<const char*>(data), size * count);
        return count;
    };
    stream->close = [](SDL_RWops* self) -> int {
        SDL_FreeRW(self);
        return 0;
    };
    return stream;
}

} // namespace

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
    std::string bytes;
    SDL_RWops* stream = memoryWriter(bytes);
    const int result = stream != nullptr ? IMG_SavePNG_RW(surface, stream, 1) : -1;
    SDL_FreeSurface(surface);
    if (result != 0) {
        throw PlatformError(path + ": cannot encode the picture: " + IMG_GetError());
    }
    std::string problem;
    if (!replaceFile(path, bytes, Flush::no, problem)) {
        throw PlatformError(problem);
    }
}

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
    try {
        checkPictureFile(path, largestPictureSide);
    } catch (const PlatformError& e) {
        error = path + ": " + e.what();
        return false;
    }
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
