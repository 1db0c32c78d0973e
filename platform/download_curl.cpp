// Downloads on libcurl's multi interface, driven by a short poll so that a stop request is seen
// within kStopCheck whatever the server does. The body is written beside its file and renamed
// into place.
#include "platform/download.h"

#include "platform/replaced_files.h"

#include <curl/curl.h>

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
        : file_(target), maxBytes_(maxBytes) {}

    bool opened() const { return file_.good(); }

    // False when the body would pass the size limit or the disk refuses it.
    bool append(const char* data, std::size_t size) {
        if (size > maxBytes_ - written_) {
            return false;
        }
        written_ += size;
        return file_.write({data, size});
    }

    // Flushes the body to disk and renames it over the target; false when any step fails.
    bool keep() { return file_.commit(Flush::toDisk); }

  private:
    ReplacementFile file_;
    std::size_t maxBytes_;
    std::size_t written_ = 0;
};

std::size_t writeBody(char* data, std::size_t, std::size_t count, void* body) {
    // Any count other than the one given makes libcurl end the transfer with an error.
    return static_cast<BodyFile*>(body)->append(data, count) ? count : 0;
}

void initCurlOnce() {
    static std::once_flag done;
    std::call_once(done, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

void setOptions(CURL* easy, const std::string& url, const DownloadLimits& limits,
                curl_slist* headers, BodyFile& body) {
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
    curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, writeBody);
    curl_easy_setopt(easy, CURLOPT_WRITEDATA, &body);
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
    initCurlOnce();
    std::unique_ptr<CURL, EasyDeleter> easy(curl_easy_init());
    if (!easy) {
        return;
    }
    // In place of removing the address from a URL cache: ask every cache on the way for a
    // fresh copy.
    curl_slist* headers = curl_slist_append(nullptr, "Cache-Control: no-cache");
    headers = headers != nullptr ? curl_slist_append(headers, "Pragma: no-cache") : nullptr;
    const std::unique_ptr<curl_slist, HeaderListDeleter> headerList(headers);
    BodyFile body(localPath, limits.maxBytes);
    if (!headerList || !body.opened()) {
        return;
    }
    setOptions(easy.get(), url, limits, headerList.get(), body);
    if (!transfer(easy.get(), stop)) {
        return;
    }
    long status = 0;
    curl_easy_getinfo(easy.get(), CURLINFO_RESPONSE_CODE, &status);
    failed = status < 200 || status > 299 || !body.keep();
}

} // namespace vastorim::platform
