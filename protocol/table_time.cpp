#include "protocol/table_time.h"

#include <charconv>

namespace vastorim {

std::optional<TableTime> TableTime::read(std::string_view text) {
    if (text.empty() || text.find_first_not_of("0123456789") != std::string_view::npos) {
        return std::nullopt;
    }
    const std::size_t first = text.find_first_not_of('0');
    return TableTime(first == std::string_view::npos ? std::string("0")
                                                     : std::string(text.substr(first)));
}

TableTime::TableTime(std::uint64_t hundredths) : digits_(std::to_string(hundredths)) {}

bool TableTime::below(double hundredths) const {
    // More digits than any survival time can reach: never below, and no overflow on reading.
    constexpr std::size_t kDigitsOfExactDoubles = 15;
    if (digits_.size() > kDigitsOfExactDoubles) {
        return false;
    }
    std::uint64_t value = 0;
    std::from_chars(digits_.data(), digits_.data() + digits_.size(), value);
    return static_cast<double>(value) < hundredths;
}

std::string TableTime::text() const {
    const std::string digits =
        digits_.size() < 4 ? std::string(4 - digits_.size(), '0') + digits_ : digits_;
    const std::size_t split = digits.size() - 2;
    return digits.substr(0, split) + ":" + digits.substr(split);
}

} // namespace vastorim
