#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace vastorim::server {

// The update directory served under /client/: only regular files that lie inside the folder once
// every symbolic link is followed. A request path never leaves it: no "..", no ".", no empty or
// absolute segment, no NUL.
class ClientFolder {
  public:
    // Throws std::runtime_error when `folder` is not a readable folder.
    explicit ClientFolder(const std::string& folder);

    // The real path of the file that `relative` (as decoded from the request) names, or nothing.
    std::optional<std::filesystem::path> find(std::string_view relative) const;

  private:
    std::filesystem::path root_; // canonical
};

// The Content-Type for a served file, by its extension.
std::string contentTypeOf(const std::filesystem::path& file);

} // namespace vastorim::server
