#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>

namespace vastorim::server {

// A score as the game submits it: the upper-cased name and the time in hundredths of a second.
struct Submission {
    std::string name;
    std::int32_t score = 0;
};

// A submission request's checked fields: `problem` is empty when the submission may be stored,
// otherwise one line saying what was wrong.
struct CheckedSubmission {
    Submission submission;
    std::string problem;
};

// Checks the decoded query of a submission: `name` (1 to 10 characters of A-Z, 1-9 and space,
// the characters name entry admits), `score` (1 to 2147483647, decimal, no sign or leading
// zero) and `key` (scoreKey of the two under `secret`), each given once.
CheckedSubmission checkSubmission(const std::multimap<std::string, std::string>& query,
                                  std::string_view secret);

} // namespace vastorim::server
