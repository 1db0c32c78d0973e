#include "server/client_folder.h"

#include <algorithm>
#include <map>
#include <stdexcept>

namespace fs = std::filesystem;

namespace vastorim::server {
namespace {

bool isPlainSegment(std::string_view segment) {
    return !segment.empty() && segment != "." && segment != "..";
}

bool isPlainRelativePath(std::string_view relative) {
    if (relative.find('\0') != std::string_view::npos) {
        return false;
    }
    std::size_t start = 0;
    for (;;) {
        const std::size_t slash = relative.find('/', start);
        if (!isPlainSegment(relative.substr(start, slash - start))) {
            return false;
        }
        if (slash == std::string_view::npos) {
            return true;
        }
        start = slash + 1;
    }
}

} // namespace

ClientFolder::ClientFolder(const std::string& folder) {
    std::error_code error;
    root_ = fs::canonical(folder, error);
    if (error || !fs::is_directory(root_, error)) {
        throw std::runtime_error(folder + ": not a folder" +
                                 (error ? ": " + error.message() : std::string()));
    }
}

std::optional<fs::path> ClientFolder::find(std::string_view relative) const {
    if (!isPlainRelativePath(relative)) {
        return std::nullopt;
    }
    std::error_code error;
    // Following every link first: a link inside the folder to a file outside it is refused.
    const fs::path real = fs::canonical(root_ / fs::path(relative), error);
    if (error) {
        return std::nullopt;
    }
    const auto [rootEnd, realAt] =
        std::mismatch(root_.begin(), root_.end(), real.begin(), real.end());
    if (rootEnd != root_.end() || realAt == real.end() || !fs::is_regular_file(real, error)) {
        return std::nullopt;
    }
    return real;
}

std::string contentTypeOf(const fs::path& file) {
    static const std::map<std::string, std::string> kTypes = {{".txt", "text/plain; charset=utf-8"},
                                                              {".html", "text/html; charset=utf-8"},
                                                              {".json", "application/json"},
                                                              {".png", "image/png"},
                                                              {".wav", "audio/wav"},
                                                              {".ttf", "font/ttf"}};
    const auto type = kTypes.find(file.extension().string());
    return type != kTypes.end() ? type->second : "application/octet-stream";
}

} // namespace vastorim::server
