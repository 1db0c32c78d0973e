#pragma once

#include <string>
#include <string_view>

namespace vastorim {

// The game's web server (high scores and the update directory), without a trailing slash: the
// environment variable VASTORIM_SERVER when it is set, otherwise the build setting
// VASTORIM_SERVER_BASE.
std::string serverBase();

// The text for a URL: unreserved characters as they are, any other byte as %XX ("AB CD" becomes
// "AB%20CD").
std::string percentEncoded(std::string_view text);

} // namespace vastorim
