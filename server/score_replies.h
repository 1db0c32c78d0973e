#pragma once

#include "server/score_store.h"

#include <string>
#include <vector>

namespace vastorim::server {

// The online table has ten places.
constexpr int kTablePlaces = 10;

// The table as the game reads it: one line of exactly 30 fields cut by "|", a triple (rank,
// time in hundredths, name) for each place, best first; an empty place is three empty fields.
// `best` holds at most ten entries.
std::string tableReply(const std::vector<ScoreEntry>& best);

// The same table for other programs: {"scores": [{"rank", "name", "hundredths", "time"}]},
// filled places only, `time` written as the game writes it ("123:45").
std::string tableJson(const std::vector<ScoreEntry>& best);

// The leaderboard page: HTML and CSS, no script, readable on a phone; ten rows of rank, name
// and time, an empty place showing "--:--".
std::string leaderboardPage(const std::vector<ScoreEntry>& best);

} // namespace vastorim::server
