#include "screens/score_text.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace vastorim {
namespace {

// At least four digits, then ":" before the last two.
std::string colonForm(std::string digits) {
    if (digits.size() < 4) {
        digits.insert(0, 4 - digits.size(), '0');
    }
    digits.insert(digits.size() - 2, ":");
    return digits;
}

std::string padded(int value, int width) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%0*d", width, value);
    return buffer;
}

} // namespace

std::string timeText(std::int32_t milliseconds) {
    const double hundredths = std::round(milliseconds * 0.1);
    const long long whole = static_cast<long long>(std::fabs(hundredths));
    std::string text = colonForm(std::to_string(whole));
    return hundredths < 0 ? "-" + text : text;
}

std::string ordinalText(int place) {
    switch (place) {
    case 1:
        return "1st";
    case 2:
        return "2nd";
    case 3:
        return "3rd";
    default:
        return std::to_string(place) + "th";
    }
}

std::string tableTimeText(std::string_view hundredths) {
    const bool decimal =
        !hundredths.empty() && std::all_of(hundredths.begin(), hundredths.end(),
                                           [](char c) { return c >= '0' && c <= '9'; });
    return decimal ? colonForm(std::string(hundredths)) : "--:--";
}

std::string tablePlaceText(int place) {
    return padded(place, 2) + ".";
}

int textAlpha(double fraction) {
    const double alpha = std::nearbyint(fraction * 255.0);
    if (!(alpha > 0)) {
        return 0;
    }
    return alpha > 255 ? 255 : static_cast<int>(alpha);
}

std::string versionText(int major, int minor, int revision) {
    return std::to_string(major) + "." + padded(minor * 10, 2) + "." + padded(revision, 2);
}

} // namespace vastorim
