#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace vastorim::platform {

// The game always draws on a surface of this size; windows scale it to fit.
inline constexpr int surfaceWidth = 1024;
inline constexpr int surfaceHeight = 768;

// A texture loaded by a Video; valid until that video closes.
using TextureId = int;

enum class BlendMode {
    Alpha,    // source alpha, inverse source alpha
    Additive, // source alpha, one
};

// One corner of a textured triangle: surface pixels, colour multiplied into the texture, and
// texture coordinates from 0 to 1 (v grows downwards in the picture).
struct Vertex {
    float x = 0;
    float y = 0;
    std::uint8_t r = 255;
    std::uint8_t g = 255;
    std::uint8_t b = 255;
    std::uint8_t a = 255;
    float u = 0;
    float v = 0;
};

// The 1024 x 768 drawing surface, in a window or offscreen. Failures throw PlatformError.
class Video {
  public:
    virtual ~Video() = default;

    // Creates the surface (a window stays hidden until show); textures can be loaded from then on.
    virtual void open() = 0;
    virtual void show() = 0;
    // Releases the renderer, its textures and the window.
    virtual void close() = 0;
    // Desktop full screen with the same scaling, or a window; takes effect at once when open.
    virtual void setFullScreen(bool fullScreen) = 0;
    virtual bool isFullScreen() const = 0;
    // The window's icon from a PNG file; a picture that cannot be read leaves the window without.
    virtual void setIcon(const std::string& path) = 0;

    // A PNG file at its own size (width and height 0) or resampled to the given size.
    virtual TextureId loadTexture(const std::string& path, int width, int height) = 0;

    virtual void clear() = 0; // to opaque black
    // Triangles given by index triples into vertices, drawn in their order in one call.
    virtual void drawTriangles(TextureId texture, BlendMode blend, std::span<const Vertex> vertices,
                               std::span<const int> indices) = 0;
    virtual void present() = 0;

    // The surface as it was last drawn, row by row from the top, each pixel 0xAARRGGBB.
    virtual std::vector<std::uint32_t> readPixels() = 0;
    void saveScreenshot(const std::string& path);
};

// A resizable window with the title (class and app id "vastorim") and the accelerated
// renderer (vsync) where there is one and SDL's software renderer where there is not; the
// surface is letterboxed into the window, centred between black bars.
std::unique_ptr<Video> createWindowVideo(bool fullScreen, const std::string& title = "Vastorim");

// SDL's software renderer on a memory surface: no display needed.
std::unique_ptr<Video> createOffscreenVideo();

} // namespace vastorim::platform
