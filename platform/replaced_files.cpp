// POSIX: mkstemp beside the target, fsync, rename, and fsync of the folder.
#include "platform/replaced_files.h"

#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <utility>

namespace vastorim::platform {
namespace {

// Bytes are handed to the system in pieces of this size, so that many small writes (a line a
// frame) cost few system calls.
constexpr std::size_t bufferLimit = 1 << 16;

std::string folderOf(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
}

} // namespace

ReplacementFile::ReplacementFile(std::string path, Readers readers)
    : path_(std::move(path)), temporary_(path_ + ".XXXXXX") {
    fd_ = mkstemp(temporary_.data()); // private to the owner
    if (fd_ < 0) {
        temporary_.clear();
        failWith(errno);
    } else if (readers == Readers::everyone && fchmod(fd_, 0644) != 0) {
        failWith(errno);
    }
}

ReplacementFile::~ReplacementFile() {
    if (fd_ >= 0) {
        close(fd_);
    }
    if (!temporary_.empty()) {
        unlink(temporary_.c_str());
    }
}

void ReplacementFile::failWith(int error) {
    if (problem_.empty()) {
        problem_ = path_ + ": " + std::strerror(error);
    }
}

bool ReplacementFile::writeBuffered() {
    std::string_view bytes = buffer_;
    while (good() && !bytes.empty()) {
        const ssize_t written = ::write(fd_, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            failWith(written < 0 ? errno : ENOSPC);
            break;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    buffer_.clear();
    return good();
}

bool ReplacementFile::write(std::string_view bytes) {
    if (!good()) {
        return false;
    }
    buffer_ += bytes;
    return buffer_.size() < bufferLimit || writeBuffered();
}

bool ReplacementFile::commit(Flush flush) {
    if (!writeBuffered() || fd_ < 0) {
        return false;
    }
    if (flush == Flush::toDisk && fsync(fd_) != 0) {
        failWith(errno);
    }
    const int closed = close(fd_);
    fd_ = -1;
    if (closed != 0) {
        failWith(errno);
    }
    if (!good() || std::rename(temporary_.c_str(), path_.c_str()) != 0) {
        failWith(errno);
        return false;
    }
    temporary_.clear();
    if (flush == Flush::toDisk) {
        syncFolder(folderOf(path_));
    }
    return true;
}

bool replaceFile(const std::string& path, std::string_view bytes, Flush flush,
                 std::string& problem) {
    ReplacementFile file(path);
    if (file.write(bytes) && file.commit(flush)) {
        return true;
    }
    problem = file.problem();
    return false;
}

bool syncFolder(const std::string& path) {
    const int fd = open(path.c_str(), O_RDONLY | O_DIRECTORY);
    if (fd < 0) {
        return false;
    }
    const bool synced = fsync(fd) == 0;
    close(fd);
    return synced;
}

} // namespace vastorim::platform
