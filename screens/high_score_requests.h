#pragma once

#include "engine/server_base.h"
#include "screens/high_scores.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vastorim {

// What the game asks its web server, and how it reads the answers.

// serverBase + "/highscores.php?query=score_list".
std::string tableRequestUrl();

// The score a final time is submitted as: hundredths of a second, rounded half to even.
std::int32_t submittedScore(std::int32_t finalTime);

// "name=NAME&score=SCORE&key=KEY" for an upper-cased name: the name percent-encoded (unreserved
// characters as they are, any other byte as %XX: "AB CD" becomes "AB%20CD"), the submitted score,
// and the key that the server checks, keyed with the build setting VASTORIM_SCORE_SECRET.
std::string submissionQuery(std::string_view upperName, std::int32_t finalTime);

// serverBase + "/submit.php?" + the submission's query.
std::string submissionUrl(std::string_view upperName, std::int32_t finalTime);

// serverBase + "/replay?" + the same query: where the game's replay goes after its submission.
std::string replayUploadUrl(std::string_view upperName, std::int32_t finalTime);

// The table in a reply: its first line (ended by LF or CR LF) cut at every "|"; field 3i + 1 is
// entry i's time and 3i + 2 its name. Nothing when that line holds fewer than 30 fields.
std::optional<HighScoreTable> readTableReply(std::string_view reply);

} // namespace vastorim
