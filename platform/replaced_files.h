#pragma once

#include <string>
#include <string_view>

namespace vastorim::platform {

// Files replaced whole: a reader sees the old bytes or the new ones, never a mixture.

enum class Flush {
    no,     // a power cut may lose the new bytes (the old ones stay)
    toDisk, // the new bytes survive a power cut once the call returns
};

// Writes the bytes to a temporary beside `path` and renames it into place (readable by all, as
// any installed file); with Flush::toDisk the file and then the folder's entry are flushed to
// disk. False, and why in `problem`, when a step fails, and then `path` is as it was.
bool replaceFile(const std::string& path, std::string_view bytes, Flush flush,
                 std::string& problem);

// Flushes a folder's entries (the names created, renamed or removed in it) to disk.
bool syncFolder(const std::string& path);

} // namespace vastorim::platform
