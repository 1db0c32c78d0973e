#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace vastorim {

// The key that vouches for a score submission: HMAC-SHA256 over the upper-cased name, a line
// feed and the score's decimal text, keyed with the secret that the game and the server share,
// written as lower-case hex. A secret inside the game's binary stops casual forgery of a request,
// not a player who reads the binary.
std::string scoreKey(std::string_view upperName, std::int32_t score, std::string_view secret);

// The same key for a message already joined ("NAME\nSCORE"); the server checks with it.
std::string hmacSha256Hex(std::string_view message, std::string_view secret);

} // namespace vastorim
