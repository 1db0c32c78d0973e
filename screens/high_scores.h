#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace vastorim {

// The game's web server: the high-score table and score submission live under this address.
inline constexpr std::string_view serverBase = "http://vastorim.example.net";

// The last fetched online table of the ten best times, best first. Times are decimal text in
// hundredths of a second, exactly as the server sent them; empty until the first fetch.
struct HighScoreTable {
    std::array<std::string, 10> highScoreTimes;
    std::array<std::string, 10> highScoreNames;
};

extern HighScoreTable highScores;

void resetHighScores();

// The network side of the table, filled in by the online client. While a hook is empty the
// table and the server are left alone.
struct HighScoreNetwork {
    std::function<void()> fetchTable; // replaces highScores with the server's table
    std::function<void()> sendScore;  // sends playerName and finalTime
};

extern HighScoreNetwork highScoreNetwork;

// Both do nothing while the player has not allowed the game to use the network.
void fetchHighScores();
void sendScore();

// The place 1..10 that a survival time of `milliseconds` takes in `table`, or -1 when it beats
// no entry. An entry beats the time unless its hundredths are strictly below it, so a tie keeps
// the older entry; an entry that is not a number (an incomplete reply) is an empty place that
// any time takes.
std::int16_t placeInTable(std::int32_t milliseconds, const std::array<std::string, 10>& times);

// The place in the last fetched table, or -1 while the game is offline.
std::int16_t placeScore(std::int32_t milliseconds);

} // namespace vastorim
