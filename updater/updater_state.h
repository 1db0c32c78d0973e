#pragma once

#include "protocol/update_lists.h"

#include <cstdint>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

namespace vastorim {

// What one run of the updater knows, with its start-up values.
struct UpdaterState {
    bool updatesAllowed = false; // the player's consent: the setup file's third line
    bool logEnabled = false;     // the command line is "log_on"
    std::int16_t localVersion = 0;
    std::vector<std::int16_t> remoteVersions; // the server's, in list order: newest first
    std::vector<std::string> updateFiles;     // paths to fetch, in list order, duplicates kept
    // What each path must hold: the line of the newest list that names it (older lists were
    // signed when their files were, and a newer version may have changed a file since).
    std::map<std::string, FileHash> expectedFiles;
    std::string logText; // the client log as written so far in this run
};

extern UpdaterState updater;

void resetUpdaterState();

// Why an update cannot go on, saying what and where; the updater logs it, leaves the
// installation as it was and starts the game.
class UpdateProblem : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

} // namespace vastorim
