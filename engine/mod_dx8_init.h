#pragma once

namespace vastorim {

namespace platform {
class Video;
}

// Opens the drawing surface (the window stays hidden until showGameWindow) and makes it the
// engine's current video.
void initDirect3D(platform::Video& video);

// Releases the renderer, its textures and the window.
void shutdownDirect3D();

} // namespace vastorim
