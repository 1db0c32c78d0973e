// POSIX: mkstemp beside the target, fsync, rename, and fsync of the folder.
#include "platform/replaced_files.h"

#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace vastorim::platform {
namespace {

std::string folderOf(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
}

bool writeAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = write(fd, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

} // namespace

bool replaceFile(const std::string& path, std::string_view bytes, Flush flush,
                 std::string& problem) {
    std::string temporary = path + ".XXXXXX";
    const int fd = mkstemp(temporary.data());
    if (fd < 0) {
        problem = path + ": " + std::strerror(errno);
        return false;
    }
    const bool written =
        fchmod(fd, 0644) == 0 && writeAll(fd, bytes) && (flush == Flush::no || fsync(fd) == 0);
    const int writeError = errno;
    if (close(fd) != 0 || !written || std::rename(temporary.c_str(), path.c_str()) != 0) {
        problem = path + ": " + std::strerror(written ? errno : writeError);
        unlink(temporary.c_str());
        return false;
    }
    if (flush == Flush::toDisk) {
        syncFolder(folderOf(path));
    }
    return true;
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
