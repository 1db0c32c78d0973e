#include "screens/high_scores.h"

#include "engine/game_setup.h"

#include <charconv>
#include <optional>

namespace vastorim {

HighScoreTable highScores;
HighScoreNetwork highScoreNetwork;

void resetHighScores() {
    highScores = HighScoreTable{};
}

void fetchHighScores() {
    if (onlineEnabled && highScoreNetwork.fetchTable) {
        highScoreNetwork.fetchTable();
    }
}

void sendScore() {
    if (onlineEnabled && highScoreNetwork.sendScore) {
        highScoreNetwork.sendScore();
    }
}

namespace {

std::optional<double> decimalValue(std::string_view text) {
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc{} || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

} // namespace

std::int16_t placeInTable(std::int32_t milliseconds, const std::array<std::string, 10>& times) {
    const double hundredths = milliseconds * 0.1;
    std::int16_t place = -1;
    for (int i = 9; i >= 0; --i) {
        const std::optional<double> entry = decimalValue(times[i]);
        if (!entry || *entry < hundredths) {
            place = static_cast<std::int16_t>(i + 1);
        }
    }
    return place;
}

std::int16_t placeScore(std::int32_t milliseconds) {
    if (!onlineEnabled) {
        return -1;
    }
    return placeInTable(milliseconds, highScores.highScoreTimes);
}

} // namespace vastorim
