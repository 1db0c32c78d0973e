#include "platform/download.h"

#include "support/loopback_server.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

namespace vastorim::platform {
namespace {

using namespace std::chrono_literals;

// "/hop/N" redirects N times before "arrived"; "/N" is a body of N bytes without a length, ended
// by closing the connection; "/silent" is never answered.
std::optional<std::string> reply(const std::string& head) {
    const std::string target = head.substr(4, head.find(' ', 4) - 4);
    if (target == "/silent") {
        return std::nullopt;
    }
    if (target.starts_with("/hop/")) {
        const int left = std::stoi(target.substr(5));
        return left == 0 ? test::httpReply(200, "arrived")
                         : "HTTP/1.1 302 Found\r\nLocation: /hop/" + std::to_string(left - 1) +
                               "\r\nContent-Length: 0\r\n\r\n";
    }
    return "HTTP/1.1 200 OK\r\nConnection: close\r\n\r\n" +
           std::string(std::stoul(target.substr(1)), 'x');
}

// Error statuses, short bodies and lengths over the limit are the client's fault cases
// (tests/screens/online_client_test.cpp).
TEST(DownloadFile, ReplacesTheFileOnlyWithAWholeReplyWithinTheLimits) {
    const test::TempFolder folder;
    const std::string target = folder.file("reply");
    const test::LoopbackServer server(reply);
    struct Case {
        std::string path;
        bool fails;
        std::string body; // at the target afterwards
        DownloadLimits limits{};
    };
    for (const Case& c :
         {Case{"/65536", false, std::string(65536, 'x')}, Case{"/65537", true, "old"},
          Case{"/hop/3", false, "arrived"}, Case{"/hop/4", true, "old"},
          Case{"/silent", true, "old", {.whole = 300ms}}}) {
        test::writeFile(target, "old");
        bool failed = !c.fails;
        downloadFile(server.base() + c.path, target, failed, c.limits);
        EXPECT_EQ(failed, c.fails) << c.path;
        EXPECT_EQ(test::readFile(target), c.body) << c.path;
        EXPECT_EQ(test::folderEntries(folder.path()), std::vector<std::string>{"reply"}) << c.path;
    }
    const std::string head = server.heads().front();
    EXPECT_TRUE(head.starts_with("GET /65536 HTTP/1.1\r\n")) << head;
    EXPECT_NE(head.find("\r\nCache-Control: no-cache\r\n"), std::string::npos) << head;
    EXPECT_NE(head.find("\r\nPragma: no-cache\r\n"), std::string::npos) << head;
}

} // namespace
} // namespace vastorim::platform
