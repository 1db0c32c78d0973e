#include "engine/app_path.h"

#include "engine/text_files.h"

namespace vastorim {

namespace {

std::string folder = ".";

} // namespace

void setAppPath(std::string path) {
    folder = normalizePath(path);
    while (folder.size() > 1 && folder.back() == '/') {
        folder.pop_back();
    }
    if (folder.empty()) {
        folder = ".";
    }
}

std::string programFile(std::string_view relative) {
    std::string rest = normalizePath(relative);
    std::size_t start = rest.find_first_not_of('/');
    return folder + "/" + (start == std::string::npos ? std::string() : rest.substr(start));
}

} // namespace vastorim
