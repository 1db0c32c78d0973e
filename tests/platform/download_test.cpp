#include "platform/download.h"

#include "support/loopback_server.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

namespace vastorim::platform {
namespace {

using namespace std::chrono_literals;

// "/hop/N" redirects N times before "arrived"; "/N" is a body of N bytes sent without a length;
// "/silent" is never answered. Error statuses, short bodies and lengths over the limit are the
// client's fault cases (tests/screens/online_client_test.cpp).
bool answer(const httplib::Request& request, httplib::Response& response) {
    EXPECT_EQ(request.get_header_value("Cache-Control") + request.get_header_value("Pragma"),
              "no-cacheno-cache");
    if (request.path == "/silent") {
        return false;
    }
    if (request.path.starts_with("/hop/")) {
        if (const int left = std::stoi(request.path.substr(5)); left > 0) {
            response.set_redirect("/hop/" + std::to_string(left - 1));
        } else {
            response.set_content("arrived", "text/plain");
        }
        return true;
    }
    const std::string body(std::stoul(request.path.substr(1)), 'x');
    response.set_chunked_content_provider("text/plain",
                                          [body](std::size_t, httplib::DataSink& sink) {
                                              sink.write(body.data(), body.size());
                                              sink.done();
                                              return true;
                                          });
    return true;
}

TEST(DownloadFile, ReplacesTheFileOnlyWithAWholeReplyWithinTheLimits) {
    const test::TempFolder folder;
    const std::string target = folder.file("reply");
    const test::LoopbackServer server(answer);
    using Case = std::tuple<const char*, bool, std::string, DownloadLimits>;
    for (const auto& [path, fails, body, limits] :
         {Case{"/65536", false, std::string(65536, 'x'), {}}, Case{"/65537", true, "old", {}},
          Case{"/hop/3", false, "arrived", {}}, Case{"/hop/4", true, "old", {}},
          Case{"/silent", true, "old", {.whole = 300ms}}}) {
        test::writeFile(target, "old");
        bool failed = !fails;
        downloadFile(server.base() + path, target, failed, limits);
        EXPECT_EQ(failed, fails) << path;
        EXPECT_EQ(test::readFile(target), body) << path;
        EXPECT_EQ(test::folderEntries(folder.path()), std::vector<std::string>{"reply"}) << path;
    }
}

} // namespace
} // namespace vastorim::platform
