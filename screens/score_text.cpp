#include "screens/score_text.h"

#include "protocol/table_time.h"

#include <cmath>
#include <cstdio>
#include <optional>

namespace vastorim {
namespace {

std::string padded(int value, int width) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%0*d", width, value);
    return buffer;
}

} // namespace

std::string timeText(std::int32_t milliseconds) {
    const double hundredths = std::round(milliseconds * 0.1);
    const std::string text = TableTime(static_cast<std::uint64_t>(std::fabs(hundredths))).text();
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
    const std::optional<TableTime> time = TableTime::read(hundredths);
    return time ? time->text() : "--:--";
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
