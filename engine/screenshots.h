#pragma once

#include <ctime>
#include <string>

namespace vastorim {

// The file name of a screenshot taken at `when` (local time): vastorim-YYYYMMDD-HHMMSS.png, and
// for the n-th shot of the same second (n from 2) vastorim-YYYYMMDD-HHMMSS-n.png.
std::string screenshotName(const std::tm& when, int shotOfTheSecond);

// Saves the surface as it was last drawn to screenshots/ in the program folder (created when
// needed), named for the local time, never over an earlier shot. The pixels are read at once;
// the picture is encoded and written on a thread of its own, so the frame does not wait for it.
// A picture that cannot be written is reported on stderr; the game goes on.
void saveScreenshot();

// Waits until every screenshot taken so far is written (shutdown; start-up state).
void finishScreenshots();

} // namespace vastorim
