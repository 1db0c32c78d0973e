#pragma once

#include <cstdint>
#include <string>

// Version numbers: 16-bit decimal integers; "client_inf.dat" in the program folder holds the
// installed one.
namespace vastorim {

// a.bb.cc: at least five digits, the rest before the last four, then two and two (11026 is
// 1.10.26, 5 is 0.00.05).
std::string formatVersion(std::int16_t version);

// localVersion from the first line of "client_inf.dat", which is made with "0" when missing.
// Throws UpdateProblem when that line is no version number.
void readLocalVersion();

// Replaces "client_inf.dat" with the one line `version`, flushed to disk; throws UpdateProblem
// when it cannot.
void saveLocalVersion(std::int16_t version);

} // namespace vastorim
