#include "platform/renderer_video.h"

#include "platform/platform_error.h"
#include "platform/png_file.h"

#include <SDL.h>
#include <SDL_image.h>

#include <algorithm>
#include <cstddef>

namespace vastorim::platform {

namespace {

// The longest side of a texture this renderer makes, within what the programs ever decode.
int largestTextureSide(SDL_Renderer* renderer) {
    SDL_RendererInfo info;
    if (SDL_GetRendererInfo(renderer, &info) != 0 || info.max_texture_width <= 0 ||
        info.max_texture_height <= 0) {
        return largestPictureSide;
    }
    return std::min({largestPictureSide, info.max_texture_width, info.max_texture_height});
}

SDL_Surface* loadPicture(const std::string& path, int width, int height, int largestSide) {
    checkPictureFile(path, largestSide);
    SDL_RWops* file = SDL_RWFromFile(path.c_str(), "rb");
    if (file == nullptr) {
        throw PlatformError("the picture file cannot be opened");
    }
    SDL_Surface* loaded = IMG_Load_RW(file, 1);
    if (loaded == nullptr) {
        throw PlatformError(std::string("not a picture that can be read: ") + IMG_GetError());
    }
    SDL_Surface* picture = SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_ARGB8888, 0);
    SDL_FreeSurface(loaded);
    if (picture == nullptr) {
        throw PlatformError(std::string("cannot convert the picture: ") + SDL_GetError());
    }
    if ((width <= 0 || width == picture->w) && (height <= 0 || height == picture->h)) {
        return picture;
    }
    SDL_Surface* resized = SDL_CreateRGBSurfaceWithFormat(0, width > 0 ? width : picture->w,
                                                          height > 0 ? height : picture->h, 32,
                                                          SDL_PIXELFORMAT_ARGB8888);
    if (resized != nullptr) {
        SDL_SetSurfaceBlendMode(picture, SDL_BLENDMODE_NONE);
        SDL_SetSurfaceBlendMode(resized, SDL_BLENDMODE_NONE);
        SDL_BlitScaled(picture, nullptr, resized, nullptr);
    }
    SDL_FreeSurface(picture);
    if (resized == nullptr) {
        throw PlatformError(std::string("cannot resize the picture: ") + SDL_GetError());
    }
    return resized;
}

} // namespace

RendererVideo::~RendererVideo() {
    release();
}

void RendererVideo::attach(SDL_Renderer* renderer, bool useTarget) {
    renderer_ = renderer;
    SDL_RendererInfo info;
    softwareRasteriser_ =
        SDL_GetRendererInfo(renderer_, &info) == 0 && (info.flags & SDL_RENDERER_SOFTWARE) != 0;
    if (useTarget) {
        frame_ = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_TARGET,
                                   surfaceWidth, surfaceHeight);
        if (frame_ == nullptr) {
            throw PlatformError(std::string("cannot create the drawing surface: ") +
                                SDL_GetError());
        }
        // Smooth when the window scales the surface to a size other than its own.
        SDL_SetTextureScaleMode(frame_, SDL_ScaleModeLinear);
    }
}

void RendererVideo::release() {
    for (SDL_Texture* texture : textures_) {
        SDL_DestroyTexture(texture);
    }
    textures_.clear();
    textureSizes_.clear();
    if (frame_ != nullptr) {
        SDL_DestroyTexture(frame_);
        frame_ = nullptr;
    }
    if (renderer_ != nullptr) {
        SDL_DestroyRenderer(renderer_);
        renderer_ = nullptr;
    }
}

SDL_Renderer* RendererVideo::drawingRenderer() const {
    if (renderer_ == nullptr) {
        throw PlatformError("the video is not open");
    }
    // The window's size handling adjusts the renderer's current target, so the surface is only
    // bound while something is drawn or read, never while events are handled.
    if (frame_ != nullptr && SDL_GetRenderTarget(renderer_) != frame_ &&
        SDL_SetRenderTarget(renderer_, frame_) != 0) {
        throw PlatformError(std::string("cannot draw on the surface: ") + SDL_GetError());
    }
    return renderer_;
}

TextureId RendererVideo::loadTexture(const std::string& path, int width, int height) {
    SDL_Renderer* renderer = drawingRenderer();
    SDL_Surface* picture = loadPicture(path, width, height, largestTextureSide(renderer));
    int size = std::max(picture->w, picture->h);
    SDL_Texture* texture = SDL_CreateTextureFromSurface(renderer, picture);
    SDL_FreeSurface(picture);
    if (texture == nullptr) {
        throw PlatformError(std::string("cannot create the texture: ") + SDL_GetError());
    }
    SDL_SetTextureScaleMode(texture, SDL_ScaleModeLinear);
    textures_.push_back(texture);
    textureSizes_.push_back(size);
    return static_cast<TextureId>(textures_.size() - 1);
}

void RendererVideo::clear() {
    SDL_Renderer* renderer = drawingRenderer();
    SDL_SetRenderDrawColor(renderer, 0, 0, 0, 255);
    SDL_RenderClear(renderer);
}

void RendererVideo::drawTriangles(TextureId texture, BlendMode blend,
                                  std::span<const Vertex> vertices, std::span<const int> indices) {
    SDL_Renderer* renderer = drawingRenderer();
    if (texture < 0 || static_cast<std::size_t>(texture) >= textures_.size() || vertices.empty()) {
        return;
    }
    SDL_Texture* sdlTexture = textures_[static_cast<std::size_t>(texture)];
    SDL_SetTextureBlendMode(sdlTexture,
                            blend == BlendMode::Additive ? SDL_BLENDMODE_ADD : SDL_BLENDMODE_BLEND);
    if (softwareRasteriser_) {
        splitter_.split(vertices, indices, textureSizes_[static_cast<std::size_t>(texture)],
                        surfaceWidth, surfaceHeight);
        if (splitter_.changed()) {
            vertices = splitter_.vertices();
            indices = splitter_.indices();
            if (vertices.empty()) {
                return;
            }
        }
    }
    static_assert(sizeof(SDL_Color) == 4);
    const Vertex& first = vertices.front();
    SDL_RenderGeometryRaw(renderer, sdlTexture, &first.x, sizeof(Vertex),
                          reinterpret_cast<const SDL_Color*>(&first.r), sizeof(Vertex), &first.u,
                          sizeof(Vertex), static_cast<int>(vertices.size()), indices.data(),
                          static_cast<int>(indices.size()), sizeof(int));
}

std::vector<std::uint32_t> RendererVideo::readPixels() {
    SDL_Renderer* renderer = drawingRenderer();
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(surfaceWidth) * surfaceHeight);
    SDL_Rect all{0, 0, surfaceWidth, surfaceHeight};
    if (SDL_RenderReadPixels(renderer, &all, SDL_PIXELFORMAT_ARGB8888, pixels.data(),
                             surfaceWidth * 4) != 0) {
        throw PlatformError(std::string("cannot read the drawing surface: ") + SDL_GetError());
    }
    return pixels;
}

} // namespace vastorim::platform
