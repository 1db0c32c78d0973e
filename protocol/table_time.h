#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vastorim {

// A time of the online high-score table, in hundredths of a second. The server sends it as
// decimal text, and only a run of decimal digits is a time (leading zeros allowed, any length);
// anything else (an empty field, a sign, a point, "nan") is an empty place. The game's screens,
// its placement of a new time and the server's pages all read and write times through this.
class TableTime {
  public:
    static std::optional<TableTime> read(std::string_view text);
    explicit TableTime(std::uint64_t hundredths);

    // True when this entry is strictly below a new time of `hundredths`: only then does the new
    // time take the entry's place, so a tie keeps the older entry.
    bool below(double hundredths) const;

    // The clock's form: at least four digits with ":" before the last two ("01:23", "7543:21");
    // seconds are never folded into minutes.
    std::string text() const;

  private:
    explicit TableTime(std::string digits) : digits_(std::move(digits)) {}
    std::string digits_; // without leading zeros; "0" for zero
};

} // namespace vastorim
