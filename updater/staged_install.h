#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// An update's files wait in the staging folder inside the program folder (kStagingFolder) until
// every one has arrived and been checked: "new/" holds them under their paths. Installing writes
// "journal.txt" there, saying which files move and from which version to which, before the first
// file moves; each file an update replaces goes to "old/" first. The version file is written
// after the last move, and only then are the journal and the folder removed. A start that finds
// the journal completes the install, or rolls it back when it cannot, so the installed files
// always match the version file.
namespace vastorim {

// Where the downloaded file for `path` waits.
std::string stagedFile(const std::string& path);

// Removes the staging folder, unless it holds the journal of an install that could not be
// completed nor rolled back; false then.
bool discardStagedFiles();

// Checks that every path can be placed (every folder on its way a real folder or missing, the
// path itself no folder) and throws UpdateProblem, moving nothing, when one cannot. Then moves
// the staged files into place, creating folders as needed, and saves `version` as the local
// version last. A file that replaces another takes that one's permissions. When a move fails,
// what had moved is moved back and UpdateProblem thrown. `afterEachMove` (may be empty) is told
// how many files have moved so far.
void installStagedFiles(std::int16_t fromVersion, std::int16_t version,
                        const std::vector<std::string>& paths,
                        const std::function<void(int moved)>& afterEachMove);

// Completes or rolls back an install that was cut short; says what it found and did, or nothing
// (empty) when there was nothing to do.
std::string recoverUnfinishedInstall();

} // namespace vastorim
