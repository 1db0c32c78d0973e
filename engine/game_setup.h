#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vastorim {

// The switches of "game setup.txt", read once at start-up.
extern bool fullScreen, hitEffects, onlineEnabled;

// Reads the three switches (writing the default file first when there is none) and registers
// the game's font file. A line that is not True, False or a number is a DataError.
void loadGameSetup();

// A switch line's value: True or False in any letter case, or a number (true when not zero),
// blanks around it allowed; nothing for anything else.
std::optional<bool> switchValue(std::string_view line);

// The switches' start-up values (all off); the setup is read from its file again.
void resetGameSetup();

// The setup file's text as it stands (after loadGameSetup, which writes the default file).
std::string setupFileText();

// From now on the setup is read from `text` instead of the file (a replay brings its own);
// nothing: from the file again.
void useSetupText(std::optional<std::string> text);

// One player's key names from the setup file: up, down, left, right, fire.
struct PlayerKeyNames {
    std::array<std::string, 5> names;
};

// The players of the setup file (line 4 and the five lines per player after it). A player
// count that is not a whole number of at least 1 is a DataError; missing key lines give empty
// names.
std::vector<PlayerKeyNames> readPlayerKeyNames();

} // namespace vastorim
