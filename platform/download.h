#pragma once

#include <atomic>
#include <chrono>
#include <cstddef>
#include <string>

namespace vastorim::platform {

// How long a download may take and how much it may bring. The defaults suit the high-score
// requests; the updater's files need a larger size.
struct DownloadLimits {
    std::chrono::milliseconds connect{3000};
    std::chrono::milliseconds whole{10000};
    std::size_t maxBytes = 64 * 1024;
    long maxRedirects = 3;
};

// The one network operation of the game: an HTTP or https GET of `url` (libcurl, the system's
// certificate store, verification on; asked not to be served from a cache) whose body replaces
// the file `localPath`. The body is written to a temporary beside it and renamed into place only
// when the whole transfer succeeded; after a failure nothing new is left there and a file that
// was there is untouched.
//
// `failed` is true for any transport error, time-out, size overrun, HTTP status outside 200 to
// 299, or a stop request. `stop` (null: never) is watched every few tens of milliseconds, so a
// program that quits never waits for a server that hangs.
void downloadFile(const std::string& url, const std::string& localPath, bool& failed,
                  const DownloadLimits& limits = {}, const std::atomic<bool>* stop = nullptr);

// An HTTP POST of `body` with the given Content-Type, under the same limits, rules and stop
// request as a download. Gives the reply's HTTP status, or 0 when no reply came.
long postBody(const std::string& url, const std::string& body, const std::string& contentType,
              const DownloadLimits& limits = {}, const std::atomic<bool>* stop = nullptr);

// While not allowed (a replay plays), every request fails at once without touching the network.
void allowNetwork(bool allowed);

} // namespace vastorim::platform
