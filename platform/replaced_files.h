#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace vastorim::platform {

// Files replaced whole: a reader sees the old bytes or the new ones, never a mixture, and a
// write that fails or is abandoned leaves the old file and no temporary.

enum class Flush {
    no,     // a power cut may lose the new bytes (the old ones stay)
    toDisk, // the new bytes survive a power cut once the call returns
};

// Who may read the new file.
enum class Readers {
    everyone, // as any installed file
    owner,    // a secret: private from the first byte
};

// A file being written in place of `path`: the bytes go to a temporary beside it, and commit()
// flushes the temporary and renames it into place. Destroyed without a successful commit, it
// removes the temporary and `path` is as it was.
class ReplacementFile {
  public:
    explicit ReplacementFile(std::string path, Readers readers = Readers::everyone);
    ~ReplacementFile();
    ReplacementFile(const ReplacementFile&) = delete;
    ReplacementFile& operator=(const ReplacementFile&) = delete;

    // False once any step has failed; problem() then says which file and why.
    bool good() const { return problem_.empty(); }
    const std::string& problem() const { return problem_; }

    // Appends bytes; false when the disk refuses them.
    bool write(std::string_view bytes);
    // Flushes the bytes, renames the temporary over the file and, with Flush::toDisk, flushes
    // the folder's entry too; false when a step fails.
    bool commit(Flush flush);

  private:
    bool writeBuffered();
    void failWith(int error);

    std::string path_;
    std::string temporary_;
    std::string buffer_;
    std::string problem_;
    int fd_ = -1;
};

// Writes the bytes through a ReplacementFile. False, and why in `problem`, when a step fails,
// and then `path` is as it was.
bool replaceFile(const std::string& path, std::string_view bytes, Flush flush,
                 std::string& problem);

// Flushes a folder's entries (the names created, renamed or removed in it) to disk.
bool syncFolder(const std::string& path);

} // namespace vastorim::platform
