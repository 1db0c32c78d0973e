#pragma once

#include <string>

// The client log, "client_log.txt" in the program folder: one line per step of the updater, and
// only when the command line asked for it (logEnabled).
namespace vastorim {

// Starts the log anew, empty.
void clearLog();

// Adds the line "DATE TIME - message": the date and time in the user's locale's short forms.
void writeLog(const std::string& message);

} // namespace vastorim
