#include "platform/download.h"

#include "support/loopback_server.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <tuple>
#include <utility>

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

// A post sends its body and type and gives the reply's status; a silent server is cut off at the
// time limit; while the network is not allowed nothing is sent at all.
TEST(PostBody, SendsBodyAndTypeGivesTheStatusAndSendsNothingWhileTheNetworkIsCut) {
    std::atomic<int> received = 0;
    std::string body, type;
    test::LoopbackServer server([&](const httplib::Request& request, httplib::Response& response) {
        if (request.path == "/silent") {
            return false;
        }
        std::tie(body, type) = std::pair(request.body, request.get_header_value("Content-Type"));
        response.status = request.path == "/full" ? 507 : 201;
        ++received;
        return true;
    });
    const std::string replay("VSTR\0\x01z", 7);
    EXPECT_EQ(postBody(server.base() + "/replay?name=A", replay, "application/octet-stream"), 201);
    EXPECT_EQ(std::pair(body, type), std::pair(replay, std::string("application/octet-stream")));
    EXPECT_EQ(postBody(server.base() + "/full", "x", "text/plain"), 507);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(postBody(server.base() + "/silent", "x", "text/plain", {.whole = 300ms}), 0);
    EXPECT_LT(std::chrono::steady_clock::now() - start, 2s);
    allowNetwork(false);
    EXPECT_EQ(postBody(server.base() + "/replay", "x", "text/plain"), 0);
    allowNetwork(true);
    EXPECT_EQ(received, 2);
}

} // namespace
} // namespace vastorim::platform
