#include "server/submission.h"

#include "protocol/score_key.h"

#include <openssl/crypto.h>

#include <algorithm>
#include <charconv>
#include <limits>
#include <optional>

namespace vastorim::server {
namespace {

constexpr std::size_t kLongestName = 10;
constexpr std::size_t kKeyLength = 64;

struct Field {
    std::string value;
    std::string problem;
};

Field single(const std::multimap<std::string, std::string>& query, const std::string& name) {
    const auto [first, last] = query.equal_range(name);
    if (first == last) {
        return {"", name + ": missing"};
    }
    if (std::next(first) != last) {
        return {"", name + ": given more than once"};
    }
    return {first->second, ""};
}

bool isNameCharacter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= '1' && c <= '9') || c == ' ';
}

bool isName(const std::string& text) {
    return !text.empty() && text.size() <= kLongestName &&
           std::all_of(text.begin(), text.end(), isNameCharacter);
}

std::optional<std::int32_t> readScore(const std::string& text) {
    if (text.empty() || text.front() == '0' ||
        text.find_first_not_of("0123456789") != std::string::npos) {
        return std::nullopt;
    }
    std::int32_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

bool isKeyText(const std::string& text) {
    return text.size() == kKeyLength &&
           text.find_first_not_of("0123456789abcdef") == std::string::npos;
}

} // namespace

CheckedSubmission checkSubmission(const std::multimap<std::string, std::string>& query,
                                  std::string_view secret) {
    const Field name = single(query, "name");
    const Field score = single(query, "score");
    const Field key = single(query, "key");
    for (const Field* field : {&name, &score, &key}) {
        if (!field->problem.empty()) {
            return {{}, field->problem};
        }
    }
    if (!isName(name.value)) {
        return {{}, "name: expected 1 to 10 characters of A-Z, 1-9 and space"};
    }
    const std::optional<std::int32_t> hundredths = readScore(score.value);
    if (!hundredths) {
        return {{},
                "score: expected a whole number from 1 to " +
                    std::to_string(std::numeric_limits<std::int32_t>::max()) +
                    " without sign or leading zeros"};
    }
    if (!isKeyText(key.value)) {
        return {{}, "key: expected 64 lower-case hexadecimal digits"};
    }
    // In constant time, so that the reply's timing tells nothing about how much of a key is right.
    const std::string expected = scoreKey(name.value, *hundredths, secret);
    if (CRYPTO_memcmp(expected.data(), key.value.data(), kKeyLength) != 0) {
        return {{}, "key: does not match the name and score"};
    }
    return {{name.value, *hundredths}, ""};
}

} // namespace vastorim::server
