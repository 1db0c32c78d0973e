#pragma once

struct SDL_Renderer;

namespace vastorim::platform {

class Video;

// Inside platform/ only: the SDL renderer a video draws with, its drawing target made current;
// null when the video is not open.
SDL_Renderer* drawingRendererOf(Video& video);

} // namespace vastorim::platform
