#pragma once

#include <cstdint>
#include <string>
#include <vector>

// What whoever publishes a release does with vastorim-server: make the update key, and put a
// release's files into the update directory with their signed lists.
namespace vastorim::server {

// Writes a new Ed25519 key pair to `keyFile` (PEM, readable by its owner alone; an existing file
// is never replaced) and gives its public key, for the game's build setting. Throws
// std::runtime_error saying why when it cannot.
std::string writeNewKey(const std::string& keyFile);

struct Release {
    std::string keyFile;
    std::string clientFolder;
    std::int16_t version = 0;
    std::vector<std::string> files; // relative to the working folder, as they are to be installed
};

// Copies the files into the client folder under their paths, writes "list/list_V.dat" (the
// paths, "END", their hash lines, the signature) and then puts V at the top of "client_inf.dat",
// signed anew; each file by way of a temporary beside it. V must be newer than every version
// listed. Throws std::runtime_error saying why, before anything is written when it can tell.
void publishRelease(const Release& release);

// vastorim-server keygen / publish with their options; prints what it did, or the problem and
// the usage; gives the exit status (0, 1 for a failure, 2 for a bad command line).
int runReleaseCommand(const std::vector<std::string>& arguments);

extern const char* const releaseUsage;

} // namespace vastorim::server
