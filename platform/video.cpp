#include "platform/video.h"

#include "platform/png_file.h"

namespace vastorim::platform {

void Video::saveScreenshot(const std::string& path) {
    savePng(path, surfaceWidth, surfaceHeight, readPixels());
}

} // namespace vastorim::platform
