#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace vastorim {

// The last online table of the ten best times, best first. Times are decimal text in hundredths
// of a second, exactly as the server sent them; empty until the first table arrives.
struct HighScoreTable {
    std::array<std::string, 10> highScoreTimes;
    std::array<std::string, 10> highScoreNames;
};

extern HighScoreTable highScores;

// The table and the placement back to start-up (the requests themselves are background jobs).
void resetHighScores();

// The requests run in the background, in order, and nothing is asked while the player has not
// allowed the game to use the network. The reply to a table request replaces the table at the
// start of a frame; a failed request or a reply without a whole table keeps the one held. The
// reply file "~tmp" in the program folder never remains.
void fetchHighScores();
// Sends playerName (upper-cased by the caller) and finalTime; the reply is not read.
void sendScore();

// endGame's fetch and placement: the table is fetched and, once its reply is in (or the request
// has failed), scorePlace becomes the place of `finalTime` in the table then held. Until then
// placingFinalTime is true, unless a later game's placement has taken over.
void placeFinalTime(std::int32_t finalTime);
bool placingFinalTime();

// The place 1..10 that a survival time of `milliseconds` takes in `table`, or -1 when it beats
// no entry. An entry beats the time unless its hundredths are strictly below it, so a tie keeps
// the older entry; an entry that is not a time (not a run of decimal digits) is an empty place
// that any time takes.
std::int16_t placeInTable(std::int32_t milliseconds, const std::array<std::string, 10>& times);

// The place in the table held, or -1 while the game is offline.
std::int16_t placeScore(std::int32_t milliseconds);

} // namespace vastorim
