#include "engine/numbers.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

namespace vastorim {

namespace {

template <typename Int> Int roundToInt(double value, const char* typeName) {
    // nearbyint follows the default rounding mode: nearest, ties to even.
    double rounded = std::nearbyint(value);
    if (!(rounded >= static_cast<double>(std::numeric_limits<Int>::min()) &&
          rounded <= static_cast<double>(std::numeric_limits<Int>::max()))) {
        throw RangeError(numberToText(value) + " does not fit " + typeName);
    }
    return static_cast<Int>(rounded);
}

// The fifteen significant digits of a finite non-zero magnitude, correctly rounded (ties to even
// on the exact binary value), and its decimal exponent.
struct Digits {
    char digits[16];
    int count; // without trailing zeros
    int exponent;
};

Digits fifteenDigits(double magnitude) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.14e", magnitude);
    Digits result{};
    int n = 0;
    const char* p = buffer;
    for (; *p != 'e'; ++p) {
        if (*p != '.') {
            result.digits[n++] = *p;
        }
    }
    while (n > 1 && result.digits[n - 1] == '0') {
        --n;
    }
    result.count = n;
    result.exponent = std::atoi(p + 1);
    return result;
}

// The number the digits stand for, read as the text form would be: a correctly rounded
// conversion, done in a local buffer so that rounding never allocates.
double readDigits(const Digits& d, bool negative) {
    char text[32];
    int length =
        std::snprintf(text, sizeof text, "%.*se%d", d.count, d.digits, d.exponent - d.count + 1);
    double value = 0;
    if (std::from_chars(text, text + length, value).ec == std::errc::result_out_of_range) {
        value = std::strtod(text, nullptr); // past the largest double: infinity, as text gives
    }
    return negative ? -value : value;
}

constexpr std::array<double, 23> kPowersOfTen = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                                 1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                                 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

} // namespace

std::int16_t toInteger(double value) {
    return roundToInt<std::int16_t>(value, "an Integer");
}

std::int32_t toLong(double value) {
    return roundToInt<std::int32_t>(value, "a Long");
}

std::string numberToText(double value) {
    if (std::isnan(value)) {
        return "nan";
    }
    if (std::isinf(value)) {
        return value > 0 ? "inf" : "-inf";
    }
    if (value == 0) {
        return "0";
    }
    Digits d = fifteenDigits(std::fabs(value));
    std::string text = value < 0 ? "-" : "";
    if (d.exponent >= -4 && d.exponent < 15) {
        if (d.exponent < 0) {
            text += "0.";
            text.append(static_cast<std::size_t>(-d.exponent - 1), '0');
            text.append(d.digits, static_cast<std::size_t>(d.count));
        } else {
            int whole = d.exponent + 1;
            for (int i = 0; i < whole; ++i) {
                text += i < d.count ? d.digits[i] : '0';
            }
            if (d.count > whole) {
                text += '.';
                text.append(d.digits + whole, static_cast<std::size_t>(d.count - whole));
            }
        }
        return text;
    }
    text += d.digits[0];
    if (d.count > 1) {
        text += '.';
        text.append(d.digits + 1, static_cast<std::size_t>(d.count - 1));
    }
    char exponent[16];
    std::snprintf(exponent, sizeof exponent, "E%c%02d", d.exponent < 0 ? '-' : '+',
                  std::abs(d.exponent));
    return text + exponent;
}

std::optional<double> textToNumber(std::string_view text) {
    while (!text.empty() && text.front() == ' ') {
        text.remove_prefix(1);
    }
    while (!text.empty() && text.back() == ' ') {
        text.remove_suffix(1);
    }
    bool negative = false;
    std::string_view body = text;
    if (!body.empty() && (body.front() == '-' || body.front() == '+')) {
        negative = body.front() == '-';
        body.remove_prefix(1);
    }
    if (body == "inf") {
        return negative ? -std::numeric_limits<double>::infinity()
                        : std::numeric_limits<double>::infinity();
    }
    if (body == "nan") {
        return std::numeric_limits<double>::quiet_NaN();
    }
    // Plain decimal form only: digits, an optional fraction, an optional exponent.
    std::size_t i = 0;
    std::size_t mantissaDigits = 0;
    while (i < body.size() && isDigit(body[i])) {
        ++i;
        ++mantissaDigits;
    }
    if (i < body.size() && body[i] == '.') {
        ++i;
        while (i < body.size() && isDigit(body[i])) {
            ++i;
            ++mantissaDigits;
        }
    }
    if (mantissaDigits == 0) {
        return std::nullopt;
    }
    if (i < body.size() && (body[i] == 'e' || body[i] == 'E')) {
        ++i;
        if (i < body.size() && (body[i] == '+' || body[i] == '-')) {
            ++i;
        }
        std::size_t exponentDigits = 0;
        while (i < body.size() && isDigit(body[i])) {
            ++i;
            ++exponentDigits;
        }
        if (exponentDigits == 0) {
            return std::nullopt;
        }
    }
    if (i != body.size()) {
        return std::nullopt;
    }
    double value = 0;
    auto [end, error] = std::from_chars(body.data(), body.data() + body.size(), value);
    if (end != body.data() + body.size() ||
        (error != std::errc() && error != std::errc::result_out_of_range)) {
        return std::nullopt;
    }
    if (error == std::errc::result_out_of_range) {
        // Out of range: overflow gives infinity, underflow zero, as a conversion to double would.
        value = std::strtod(std::string(body).c_str(), nullptr);
    }
    return negative ? -value : value;
}

std::optional<std::int64_t> wholeNumber(std::string_view text, std::int64_t low,
                                        std::int64_t high) {
    while (!text.empty() && text.front() == ' ') {
        text.remove_prefix(1);
    }
    while (!text.empty() && text.back() == ' ') {
        text.remove_suffix(1);
    }
    std::int64_t whole = 0;
    const char* end = text.data() + text.size();
    const auto digits = std::from_chars(text.data() + (text.starts_with('+') ? 1 : 0), end, whole);
    if (digits.ptr != end || digits.ec != std::errc()) {
        // Not plain digits within 64 bits: read as a number, converted only when a double holds
        // it exactly.
        constexpr double exactLimit = 9007199254740992.0; // 2^53
        const std::optional<double> number = textToNumber(text);
        if (!number || !(std::fabs(*number) <= exactLimit) || *number != std::floor(*number)) {
            return std::nullopt;
        }
        whole = static_cast<std::int64_t>(*number);
    }
    if (whole < low || whole > high) {
        return std::nullopt;
    }
    return whole;
}

double round15(double value) {
    double magnitude = std::fabs(value);
    // Fast path for magnitudes in [1e-8, 1e15): scale to fifteen integer digits, round, and scale
    // back with one correctly rounded division. The power of ten is exact and the digits fit 53
    // bits, so the division gives the same double as reading the decimal text back. The scaled
    // value is a multiple of its ulp (at most 1/8), so unless it sits exactly on a half the
    // product's rounding error (at most half an ulp) cannot change which integer is nearest.
    if (magnitude >= 1e-8 && magnitude < 1e15) {
        int exponent = static_cast<int>(std::floor(std::log10(magnitude)));
        for (int attempt = 0; attempt < 3; ++attempt) {
            int shift = 14 - exponent;
            if (shift < 0 || shift > 22) {
                break;
            }
            double scale = kPowersOfTen[static_cast<std::size_t>(shift)];
            double scaled = magnitude * scale;
            if (scaled < 1e14) {
                --exponent;
                continue;
            }
            if (scaled >= 1e15) {
                ++exponent;
                continue;
            }
            double digits = std::nearbyint(scaled);
            double fraction = scaled - digits;
            if (fraction == 0.5 || fraction == -0.5) {
                // The product was rounded onto a half. Its rounding error, exact through fma,
                // says on which side the true value lies; none left means a true tie, which
                // goes to even as nearbyint already did.
                double error = std::fma(magnitude, scale, -scaled);
                if (error != 0) {
                    digits = error > 0 ? std::ceil(scaled) : std::floor(scaled);
                }
            }
            double result = digits / scale;
            return value < 0 ? -result : result;
        }
    }
    if (!std::isfinite(value) || value == 0) {
        return value == 0 ? 0.0 : value;
    }
    return readDigits(fifteenDigits(magnitude), value < 0);
}

} // namespace vastorim
