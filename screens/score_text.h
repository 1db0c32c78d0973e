#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace vastorim {

// How times, places and opacities appear on the game's screens. Times are shown in hundredths
// of a second with a colon before the last two digits: 12:34 is 12.34 seconds, and seconds are
// never folded into minutes.

// A survival time in milliseconds as the clock shows it: hundredths rounded half away from zero,
// at least four digits ("00:00", "12:35", "7543:21").
std::string timeText(std::int32_t milliseconds);

// 1st, 2nd, 3rd, then 4th, 5th, ... (11th, 12th, 21th too: the table only has ten places).
std::string ordinalText(int place);

// A high-score table time (decimal hundredths as the server sends them) in the clock's form,
// from its value ("00123" shows 01:23); an entry that is not a time shows as "--:--".
std::string tableTimeText(std::string_view hundredths);

// The row label of a high-score place: "01." to "10.".
std::string tablePlaceText(int place);

// A text alpha from an opacity fraction: fraction x 255 rounded half to even, kept in 0..255.
int textAlpha(double fraction);

// "major.minor.revision" with the minor number written times ten in at least two digits and the
// revision in at least two digits: 1, 1, 26 gives 1.10.26.
std::string versionText(int major, int minor, int revision);

} // namespace vastorim
