#include "platform/system_font.h"

#include <cstdio>
#include <filesystem>
#include <memory>

namespace vastorim::platform {

namespace {

bool isFile(const std::string& path) {
    std::error_code error;
    return !path.empty() && std::filesystem::is_regular_file(path, error);
}

std::string askFontconfig() {
    const std::unique_ptr<FILE, int (*)(FILE*)> pipe(
        popen("fc-match -f '%{file}' sans 2>/dev/null", "r"), pclose);
    if (!pipe) {
        return {};
    }
    std::string path;
    char chunk[256];
    while (std::fgets(chunk, sizeof chunk, pipe.get()) != nullptr) {
        path += chunk;
    }
    return path;
}

} // namespace

std::string findSystemFont() {
    for (const char* known :
         {"/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf",
          "/usr/share/fonts/truetype/liberation/LiberationSans-Regular.ttf",
          "/usr/share/fonts/truetype/freefont/FreeSans.ttf",
          "/System/Library/Fonts/Supplemental/Arial.ttf", "C:/Windows/Fonts/arial.ttf"}) {
        if (isFile(known)) {
            return known;
        }
    }
    const std::string matched = askFontconfig();
    return isFile(matched) ? matched : std::string();
}

} // namespace vastorim::platform
