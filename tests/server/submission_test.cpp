#include "protocol/score_key.h"
#include "server/submission.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace vastorim::server {
namespace {

using Query = std::multimap<std::string, std::string>;

constexpr const char* kSecret = "secret";

TEST(Submission, TheGamesSubmissionsPassAndEachFaultIsNamedInTheProblemLine) {
    const std::string goodKey = scoreKey("ACE", 1234, kSecret);
    std::string upperKey = goodKey;
    std::transform(upperKey.begin(), upperKey.end(), upperKey.begin(), ::toupper);
    struct Case {
        Query query;
        const char* problemStart; // "": accepted
    };
    const Case cases[] = {
        {{{"name", "ACE"}, {"score", "1234"}, {"key", goodKey}}, ""},
        {{{"name", "AB CD 19"},
          {"score", "2147483647"},
          {"key", scoreKey("AB CD 19", 2147483647, kSecret)}},
         ""},
        {{{"score", "1234"}, {"key", goodKey}}, "name: missing"},
        {{{"name", "ACE"}, {"name", "ACE"}, {"score", "1234"}, {"key", goodKey}},
         "name: given more than once"},
        {{{"name", ""}, {"score", "1234"}, {"key", goodKey}}, "name: expected"},
        {{{"name", "ABCDEFGHIJK"}, {"score", "1234"}, {"key", goodKey}}, "name: expected"},
        {{{"name", "ace"}, {"score", "1234"}, {"key", goodKey}}, "name: expected"},
        {{{"name", "ACE0"}, {"score", "1234"}, {"key", goodKey}}, "name: expected"},
        {{{"name", "A|B"}, {"score", "1234"}, {"key", goodKey}}, "name: expected"},
        {{{"name", "X';DROP--"}, {"score", "1234"}, {"key", goodKey}}, "name: expected"},
        {{{"name", "ACE"}, {"key", goodKey}}, "score: missing"},
        {{{"name", "ACE"}, {"score", "0"}, {"key", goodKey}}, "score: expected"},
        {{{"name", "ACE"}, {"score", "01234"}, {"key", goodKey}}, "score: expected"},
        {{{"name", "ACE"}, {"score", "-5"}, {"key", goodKey}}, "score: expected"},
        {{{"name", "ACE"}, {"score", "+5"}, {"key", goodKey}}, "score: expected"},
        {{{"name", "ACE"}, {"score", "12.5"}, {"key", goodKey}}, "score: expected"},
        {{{"name", "ACE"}, {"score", "2147483648"}, {"key", goodKey}}, "score: expected"},
        {{{"name", "ACE"}, {"score", "1234"}}, "key: missing"},
        {{{"name", "ACE"}, {"score", "1234"}, {"key", goodKey.substr(1)}}, "key: expected"},
        {{{"name", "ACE"}, {"score", "1234"}, {"key", upperKey}}, "key: expected"},
        {{{"name", "ACE"}, {"score", "1234"}, {"key", scoreKey("ACE", 1234, "other")}},
         "key: does not match"},
        {{{"name", "ACE"}, {"score", "1235"}, {"key", goodKey}}, "key: does not match"},
        {{{"name", "ACF"}, {"score", "1234"}, {"key", goodKey}}, "key: does not match"},
    };
    for (const Case& c : cases) {
        const CheckedSubmission checked = checkSubmission(c.query, kSecret);
        EXPECT_EQ(checked.problem.rfind(c.problemStart, 0), 0u)
            << "wanted \"" << c.problemStart << "\", got \"" << checked.problem << '"';
        if (*c.problemStart == '\0') {
            EXPECT_EQ(checked.problem, "");
            EXPECT_EQ(checked.submission.name, c.query.find("name")->second);
            EXPECT_EQ(std::to_string(checked.submission.score), c.query.find("score")->second);
        }
    }
}

} // namespace
} // namespace vastorim::server
