#pragma once

#include "platform/png_file.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace vastorim::platform {

// A rectangle of the updater's window in its pixels, and the colour (0xRRGGBB) drawn there.
struct WindowBox {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    std::uint32_t rgb = 0;
};

// What stays the same for the window's life.
struct UpdateWindowLook {
    std::string caption;
    int width = 0;
    int height = 0;
    std::uint32_t background = 0;
    WindowBox dragStrip;  // the window is dragged by this strip
    std::string fontPath; // the label's face; a face of the system stands in when it is missing
    int fontPixels = 0;   // its em size
};

// The updater's small borderless window: filled boxes and one line of text, repainted whenever
// the updater says so. It handles events only when asked: between files.
class UpdateWindow {
  public:
    virtual ~UpdateWindow() = default;

    // Fills the background, then the boxes in order, then the label's text in the label's box
    // (its colour the text's), clipped to that box; and shows the result.
    virtual void paint(const std::vector<WindowBox>& boxes, const WindowBox& label,
                       const std::string& text) = 0;
    // Lets pending window events run (the strip drags the window only then).
    virtual void handleEvents() = 0;
    // The window's picture as last painted.
    virtual Picture picture() = 0;
};

// A borderless window on the display, of the program's class (nameProgramWindows); nothing, and
// why in `problem`, where none can open.
std::unique_ptr<UpdateWindow> openUpdateWindow(const UpdateWindowLook& look, std::string& problem);

// The same drawing on a memory surface: no display needed.
std::unique_ptr<UpdateWindow> createOffscreenUpdateWindow(const UpdateWindowLook& look);

} // namespace vastorim::platform
