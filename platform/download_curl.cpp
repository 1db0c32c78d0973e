// Downloads and posts on libcurl's multi interface, driven by a short poll so that a stop request
// is seen within kStopCheck whatever the server does. POSIX files: mkstemp beside the target,
// rename.
#include "platform/download.h"

#include <curl/curl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <initializer_list>
#include <memory>
#include <mutex>

namespace vastorim::platform {
namespace {

constexpr int kStopCheckMs = 20;

struct EasyDeleter {
    void operator()(CURL* easy) const { curl_easy_cleanup(easy); }
};
struct MultiDeleter {
    void operator()(CURLM* multi) const { curl_multi_cleanup(multi); }
};
struct HeaderListDeleter {
    void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};

// The body on its way to disk: a temporary file beside the target, removed unless kept.
class BodyFile {
  public:
    BodyFile(const std::string& target, std::size_t maxBytes)
        : path_(target + ".XXXXXX"), maxBytes_(maxBytes) {
        fd_ = mkstemp(path_.data());
        created_ = fd_ >= 0;
        if (created_) {
            // mkstemp makes the file private; a downloaded file reads like any other.
            fchmod(fd_, 0644);
        }
    }
    ~BodyFile() {
        if (fd_ >= 0) {
            close(fd_);
        }
        if (created_ && !kept_) {
            unlink(path_.c_str());
        }
    }
    BodyFile(const BodyFile&) = delete;
    BodyFile& operator=(const BodyFile&) = delete;

    bool opened() const { return created_; }

    // False when the body would pass the size limit or the disk refuses it.
    bool append(const char* data, std::size_t size) {
        if (size > maxBytes_ - written_) {
            return false;
        }
        written_ += size;
        while (size > 0) {
            const ssize_t n = write(fd_, data, size);
            if (n < 0 && errno == EINTR) {
                continue;
            }
            if (n <= 0) {
                return false;
            }
            data += n;
            size -= static_cast<std::size_t>(n);
        }
        return true;
    }

    // Flushes the body to disk and renames it over `target`; false when any step fails.
    bool keepAs(const std::string& target) {
        const bool flushed = fsync(fd_) == 0;
        const bool closed = close(fd_) == 0;
        fd_ = -1;
        kept_ = flushed && closed && std::rename(path_.c_str(), target.c_str()) == 0;
        return kept_;
    }

  private:
    std::string path_;
    std::size_t maxBytes_;
    std::size_t written_ = 0;
    int fd_ = -1;
    bool created_ = false;
    bool kept_ = false;
};

std::size_t writeBody(char* data, std::size_t, std::size_t count, void* body) {
    // Any count other than the one given makes libcurl end the transfer with an error.
    return static_cast<BodyFile*>(body)->append(data, count) ? count : 0;
}

void initCurlOnce() {
    static std::once_flag done;
    std::call_once(done, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

// A reply that is not kept: only its size counts against the limit.
struct IgnoredReply {
    std::size_t left;
};

std::size_t ignoreBody(char*, std::size_t, std::size_t count, void* reply) {
    auto* ignored = static_cast<IgnoredReply*>(reply);
    if (count > ignored->left) {
        return 0;
    }
    ignored->left -= count;
    return count;
}

std::atomic<bool> networkAllowed{true};

using HeaderList = std::unique_ptr<curl_slist, HeaderListDeleter>;

// Null when the list could not be made.
HeaderList headerList(std::initializer_list<const char*> lines) {
    curl_slist* list = nullptr;
    for (const char* line : lines) {
        curl_slist* longer = curl_slist_append(list, line);
        if (longer == nullptr) {
            curl_slist_free_all(list);
            return nullptr;
        }
        list = longer;
    }
    return HeaderList(list);
}

void setOptions(CURL* easy, const std::string& url, const DownloadLimits& limits,
                curl_slist* headers, curl_write_callback write, void* reply) {
    curl_easy_setopt(easy, CURLOPT_URL, url.c_str());
    curl_easy_setopt(easy, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(easy, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(easy, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(easy, CURLOPT_MAXREDIRS, limits.maxRedirects);
    curl_easy_setopt(easy, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(limits.connect.count()));
    curl_easy_setopt(easy, CURLOPT_TIMEOUT_MS, static_cast<long>(limits.whole.count()));
    curl_easy_setopt(easy, CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(limits.maxBytes));
    curl_easy_setopt(easy, CURLOPT_HTTPHEADER, headers);
    curl_easy_setopt(easy, CURLOPT_SSL_VERIFYPEER, 1L);
    curl_easy_setopt(easy, CURLOPT_SSL_VERIFYHOST, 2L);
    curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, write);
    curl_easy_setopt(easy, CURLOPT_WRITEDATA, reply);
}

// Runs the transfer until it ends or `stop` is set; true when it ended without an error.
bool transfer(CURL* easy, const std::atomic<bool>* stop) {
    std::unique_ptr<CURLM, MultiDeleter> multi(curl_multi_init());
    if (!multi || curl_multi_add_handle(multi.get(), easy) != CURLM_OK) {
        return false;
    }
    int running = 1;
    bool stopped = false;
    while (running > 0) {
        if (stop != nullptr && stop->load()) {
            stopped = true;
            break;
        }
        if (curl_multi_perform(multi.get(), &running) != CURLM_OK) {
            stopped = true;
            break;
        }
        if (running > 0) {
            curl_multi_poll(multi.get(), nullptr, 0, kStopCheckMs, nullptr);
        }
    }
    bool succeeded = false;
    int queued = 0;
    while (CURLMsg* message = curl_multi_info_read(multi.get(), &queued)) {
        if (message->msg == CURLMSG_DONE) {
            succeeded = message->data.result == CURLE_OK;
        }
    }
    curl_multi_remove_handle(multi.get(), easy);
    return succeeded && !stopped;
}

} // namespace

void downloadFile(const std::string& url, const std::string& localPath, bool& failed,
                  const DownloadLimits& limits, const std::atomic<bool>* stop) {
    failed = true;
    if (!networkAllowed) {
        return;
    }
    initCurlOnce();
    std::unique_ptr<CURL, EasyDeleter> easy(curl_easy_init());
    if (!easy) {
        return;
    }
    // In place of removing the address from a URL cache: ask every cache on the way for a
    // fresh copy.
    const HeaderList headers = headerList({"Cache-Control: no-cache", "Pragma: no-cache"});
    BodyFile body(localPath, limits.maxBytes);
    if (!headers || !body.opened()) {
        return;
    }
    setOptions(easy.get(), url, limits, headers.get(), writeBody, &body);
    if (!transfer(easy.get(), stop)) {
        return;
    }
    long status = 0;
    curl_easy_getinfo(easy.get(), CURLINFO_RESPONSE_CODE, &status);
    failed = status < 200 || status > 299 || !body.keepAs(localPath);
}

long postBody(const std::string& url, const std::string& body, const std::string& contentType,
              const DownloadLimits& limits, const std::atomic<bool>* stop) {
    if (!networkAllowed) {
        return 0;
    }
    initCurlOnce();
    std::unique_ptr<CURL, EasyDeleter> easy(curl_easy_init());
    const std::string typeLine = "Content-Type: " + contentType;
    const HeaderList headers = headerList({typeLine.c_str()});
    if (!easy || !headers) {
        return 0;
    }
    IgnoredReply reply{limits.maxBytes};
    setOptions(easy.get(), url, limits, headers.get(), ignoreBody, &reply);
    curl_easy_setopt(easy.get(), CURLOPT_POSTFIELDS, body.data());
    curl_easy_setopt(easy.get(), CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(body.size()));
    if (!transfer(easy.get(), stop)) {
        return 0;
    }
    long status = 0;
    curl_easy_getinfo(easy.get(), CURLINFO_RESPONSE_CODE, &status);
    return status;
}

void allowNetwork(bool allowed) {
    networkAllowed = allowed;
}

} // namespace vastorim::platform
