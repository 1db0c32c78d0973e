#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace vastorim::platform {

class Video;

enum class TextAlign { Left, Centre, Right };

struct TextBox {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

// Where one drawText call put its lines: the pixels it may have changed (empty when it drew
// nothing), whether a line wider than the box was drawn smaller to fit it, and whether any line
// still reached past the box (below it) and was cut off.
struct DrawnText {
    TextBox covered;
    bool narrowed = false;
    bool cutOff = false;
};

// What the caches hold and how much rasterising they have cost so far.
struct TextCacheStats {
    std::size_t rasterisedLines = 0; // every line ever turned into a picture
    std::size_t cachedLines = 0;
    std::size_t openFonts = 0;
};

// Text on the video's surface in one TrueType face. Fonts are opened once per size and each
// rendered line is kept as a texture, so text drawn every frame costs one copy per line.
class TextRenderer {
  public:
    virtual ~TextRenderer() = default;

    // The face to draw in; false when the file is missing or not a font, and a face found on
    // the system stands in. Needs no open video.
    virtual bool setFace(const std::string& path) = 0;
    // Points of a 96 dpi screen: 24 points are 32 pixels.
    virtual void setPointSize(int points) = 0;

    // Lines end at CR LF (or a lone LF or CR); the first line sits at the box's top and lines
    // are clipped to the box. The colour is 0xAARRGGBB with its alpha blended.
    virtual DrawnText drawText(std::string_view text, const TextBox& box, TextAlign align,
                               std::uint32_t argb) = 0;

    virtual TextCacheStats stats() const = 0;
};

// Draws onto the video's renderer (whatever its target is when drawing starts).
std::unique_ptr<TextRenderer> createTextRenderer(Video& video);

} // namespace vastorim::platform
