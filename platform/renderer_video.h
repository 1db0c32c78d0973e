#pragma once

#include "platform/triangle_splitter.h"
#include "platform/video.h"

struct SDL_Renderer;
struct SDL_Texture;

namespace vastorim::platform {

// Drawing shared by every SDL renderer: textures, triangles, pixels. The subclasses decide where
// the renderer draws and how a frame is shown. When frame_ is set, all drawing goes into that
// 1024 x 768 target texture, so the surface keeps its size whatever the window does; present
// then leaves the renderer on its default target.
class RendererVideo : public Video {
  public:
    ~RendererVideo() override;

    TextureId loadTexture(const std::string& path, int width, int height) override;
    void clear() override;
    void drawTriangles(TextureId texture, BlendMode blend, std::span<const Vertex> vertices,
                       std::span<const int> indices) override;
    std::vector<std::uint32_t> readPixels() override;

  protected:
    // Takes the renderer; with useTarget the surface is a target texture on it.
    void attach(SDL_Renderer* renderer, bool useTarget);
    void release();

    SDL_Renderer* renderer_ = nullptr;
    SDL_Texture* frame_ = nullptr;

  private:
    friend SDL_Renderer* drawingRendererOf(Video& video); // text draws on the same surface
    SDL_Renderer* drawingRenderer() const;

    std::vector<SDL_Texture*> textures_;
    std::vector<int> textureSizes_; // the larger side of each texture, in texels
    bool softwareRasteriser_ = false;
    TriangleSplitter splitter_;
};

} // namespace vastorim::platform
