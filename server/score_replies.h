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

// The same table for other programs: {"scores": [{"rank", "name", "hundredths", "time", "state",
// "replay", "picture"}]}, filled places only, `time` written as the game writes it ("123:45"),
// `state` verified, rejected or unverified, `replay` and `picture` the addresses of the entry's
// replay and of its last moment's picture, or null.
// The addresses of an entry's replay and picture on this server.
std::string replayAddress(const ScoreEntry& entry);
std::string pictureAddress(const ScoreEntry& entry);
std::string tableJson(const std::vector<ScoreEntry>& best);

// The leaderboard page: HTML and CSS, no script, readable on a phone; ten rows of rank, name
// and time, an empty place showing "--:--"; a verified entry's name is marked, and its row shows
// the picture of the run's last moment, which links to its replay.
std::string leaderboardPage(const std::vector<ScoreEntry>& best);

} // namespace vastorim::server
