#pragma once

#include "platform/video.h"

#include <array>

namespace vastorim {

// Opens the drawing surface (the window stays hidden until showGameWindow) and makes it the
// engine's current video.
void initRenderer(platform::Video& video);

// Shows the game window, which start-up created hidden.
void showGameWindow();

// Releases the renderer, its textures and the window.
void shutdownRenderer();

// Draws one frame: clear to black, the mode's drawing (hooks.drawMode, in the menu and in play),
// the emitter's particles on top (hooks.drawParticles), the pending sprites, present.
void renderFrame();

// Submits the pending sprite batch; whatever draws by other means calls it first to keep order.
void flushSprites();

// Geometry calls of the last finished frame.
int drawCallsLastFrame();

// The video the engine draws on; null before start-up.
platform::Video* currentVideo();
void setCurrentVideo(platform::Video* video);

// Queues one sprite's quad (corners in strip order: top-left, top-right, bottom-left,
// bottom-right of the unturned quad). Consecutive quads with the same texture and blend mode go
// to the video in one call. A quad that changes no pixel (black, added or over black) is dropped.
void queueQuad(platform::TextureId texture, platform::BlendMode blend,
               const std::array<platform::Vertex, 4>& corners);

// Tells the renderer that something other than its sprites (text) drew into the rectangle.
// Sprites that would leave every pixel as it is are not drawn; the renderer needs to know
// where the surface is no longer black to tell which those are.
void markDrawn(int left, int top, int right, int bottom);

// Drops any pending sprites and the counts (start-up state).
void resetRenderState();

} // namespace vastorim
