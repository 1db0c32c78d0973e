#include "engine/game_setup.h"

#include "engine/app_path.h"
#include "engine/errors.h"
#include "engine/font.h"
#include "engine/numbers.h"
#include "engine/text_case.h"
#include "engine/text_files.h"

#include <cctype>
#include <cmath>
#include <fstream>
#include <iostream>
#include <iterator>

namespace vastorim {

bool fullScreen = false;
bool hitEffects = false;
bool onlineEnabled = false;

namespace {

constexpr int maxPlayers = 32768; // player indices are 16-bit

std::optional<std::string> setupText;

std::string setupPath() {
    return programFile("game setup.txt");
}

TextReader openSetup() {
    return setupText ? TextReader(setupPath(), *setupText) : TextReader(setupPath());
}

// Windowed, hit effects on, online off, one player on the arrow keys and space.
void writeDefaultSetup(const std::string& path) {
    TextWriter writer(path);
    for (const char* line : {"false", "true", "false"}) {
        writer.writeLine(line);
    }
    writer.writeLine(numberToText(1));
    for (const char* key : {"up", "down", "left", "right", "space"}) {
        writer.writeLine(key);
    }
    writer.close();
    std::cerr << path << " was missing: wrote the default setup (windowed, hit effects on, "
              << "online off, one player on the arrow keys and space).\n";
}

std::string trimmed(std::string_view text) {
    const auto blank = [](unsigned char c) { return std::isspace(c) != 0; };
    while (!text.empty() && blank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && blank(text.back())) {
        text.remove_suffix(1);
    }
    return std::string(text);
}

bool readSwitch(TextReader& reader, const char* field) {
    const std::string line = reader.requireLine(field);
    if (const std::optional<bool> value = switchValue(line)) {
        return *value;
    }
    throw DataError(reader.path(), reader.lineNumber(), field,
                    "expected True, False or a number, found \"" + trimmed(line) + "\"");
}

} // namespace

std::optional<bool> switchValue(std::string_view line) {
    const std::string word = asciiLower(trimmed(line));
    if (word == "true") {
        return true;
    }
    if (word == "false") {
        return false;
    }
    if (const auto number = textToNumber(word); number && !std::isnan(*number)) {
        return *number != 0;
    }
    return std::nullopt;
}

void loadGameSetup() {
    const std::string path = setupPath();
    if (!setupText && !fileExists(path)) {
        writeDefaultSetup(path);
    }
    TextReader reader = openSetup();
    fullScreen = readSwitch(reader, "fullScreen");
    hitEffects = readSwitch(reader, "hitEffects");
    onlineEnabled = readSwitch(reader, "onlineEnabled");
    installFont(programFile("graphics/grapple.ttf"));
}

void resetGameSetup() {
    fullScreen = false;
    hitEffects = false;
    onlineEnabled = false;
    setupText.reset();
}

std::string setupFileText() {
    std::ifstream file(setupPath(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), {});
}

void useSetupText(std::optional<std::string> text) {
    setupText = std::move(text);
}

std::vector<PlayerKeyNames> readPlayerKeyNames() {
    TextReader reader = openSetup();
    for (const char* field : {"fullScreen", "hitEffects", "onlineEnabled"}) {
        reader.requireLine(field);
    }
    const char* countField = "number of players";
    const std::string countText = reader.requireLine(countField);
    const auto count = textToNumber(countText);
    if (!count || !(*count >= 1 && *count <= maxPlayers) || *count != std::floor(*count)) {
        throw DataError(reader.path(), reader.lineNumber(), countField,
                        "expected a whole number from 1 to " + std::to_string(maxPlayers) +
                            ", found \"" + countText + "\"");
    }
    std::vector<PlayerKeyNames> players(static_cast<std::size_t>(*count));
    for (PlayerKeyNames& player : players) {
        for (std::string& name : player.names) {
            reader.readLine(name);
        }
    }
    return players;
}

} // namespace vastorim
