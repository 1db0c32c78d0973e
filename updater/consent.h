#pragma once

#include <functional>
#include <optional>
#include <string>

namespace vastorim {

// Asks a yes-or-no question: true for Yes, nothing when no question can be shown.
using YesNoQuestion =
    std::function<std::optional<bool>(const std::string& title, const std::string& text)>;

inline constexpr const char* kConsentTitle = "Allow updates?";
inline constexpr const char* kConsentText =
    "Vastorim requires internet access to submit high scores and check for new versions. Would "
    "you like vastorim to attempt to connect?\n\n(Clicking yes is recommended for best experience)";

// updatesAllowed from the third line of "game setup.txt". When that file is missing the player
// is asked once (without a display the environment variable VASTORIM_CONSENT, "yes" or "no",
// answers; without that either the answer is No) and the file is written with its nine default
// lines, the answer third. Throws UpdateProblem when the third line is not a switch.
void askConsent(const YesNoQuestion& ask);

} // namespace vastorim
