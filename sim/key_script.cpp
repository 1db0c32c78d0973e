#include "sim/key_script.h"

#include "engine/errors.h"
#include "engine/numbers.h"
#include "engine/text_case.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <fstream>
#include <limits>
#include <span>
#include <sstream>

namespace vastorim {
namespace {

constexpr int maxPads = 16;

// A whole number from low to high, or a FieldError naming the field and what it expected.
std::int64_t parseWhole(const std::string& word, const char* field, std::int64_t low,
                        std::int64_t high, const std::string& expected) {
    const std::optional<std::int64_t> number = wholeNumber(word, low, high);
    if (!number) {
        throw FieldError(field, "expected " + expected + ", found \"" + word + "\"");
    }
    return *number;
}

int parseKey(const std::string& word) {
    if (word.empty()) {
        throw FieldError("key", "expected a key name after the action");
    }
    const std::optional<int> code = scriptKeyCode(word);
    if (!code) {
        throw FieldError("key", "unknown key \"" + word + "\"");
    }
    return *code;
}

struct PadControlName {
    std::string_view name;
    platform::PadControl control;
};

constexpr PadControlName padButtons[] = {
    {"a", platform::PadControl::A},
    {"start", platform::PadControl::Start},
    {"dpup", platform::PadControl::DpadUp},
    {"dpdown", platform::PadControl::DpadDown},
    {"dpleft", platform::PadControl::DpadLeft},
    {"dpright", platform::PadControl::DpadRight},
};
constexpr PadControlName padAxes[] = {
    {"leftx", platform::PadControl::LeftStickX},
    {"lefty", platform::PadControl::LeftStickY},
};

// The rest of a pad line: N button|axis NAME VALUE.
ScriptEvent parsePad(std::int64_t frame, std::istream& words) {
    std::string padWord, input, name, valueWord, extra;
    words >> padWord >> input >> name >> valueWord;
    const auto pad = parseWhole(padWord, "pad", 1, maxPads, "a pad number from 1 to 16");
    input = asciiLower(input);
    if (input != "button" && input != "axis") {
        throw FieldError("input", "expected button or axis, found \"" + input + "\"");
    }
    const bool button = input == "button";
    const auto names = button ? std::span<const PadControlName>(padButtons)
                              : std::span<const PadControlName>(padAxes);
    const auto found = std::find_if(names.begin(), names.end(), [&](const PadControlName& entry) {
        return entry.name == asciiLower(name);
    });
    if (found == names.end()) {
        throw FieldError("control", "unknown " + input + " \"" + name + "\"");
    }
    const auto value = button ? parseWhole(valueWord, "value", 0, 1, "0 or 1")
                              : parseWhole(valueWord, "value", -platform::stickRange - 1,
                                           platform::stickRange, "a value from -32768 to 32767");
    if (words >> extra) {
        throw FieldError("value", "unexpected \"" + extra + "\" after the value");
    }
    return {.frame = frame,
            .kind = ScriptEvent::Kind::Pad,
            .pad = static_cast<int>(pad),
            .control = found->control,
            .value = static_cast<int>(value)};
}

// The events of one line, in the order they happen.
std::vector<ScriptEvent> parseLine(const std::string& line) {
    std::istringstream words(line.substr(0, line.find('#')));
    std::string frameWord, action, key, extra;
    if (!(words >> frameWord)) {
        return {};
    }
    // A press releases its key on the next frame, which must still be a frame number.
    constexpr std::int64_t lastFrame = std::numeric_limits<std::int64_t>::max() - 1;
    const std::int64_t frame = parseWhole(frameWord, "frame", 0, lastFrame,
                                          "a frame number from 0 to " + std::to_string(lastFrame));
    constexpr const char* actions = "down, up, press, pad, unfocus or close";
    if (!(words >> action)) {
        throw FieldError("action", std::string("expected ") + actions);
    }
    action = asciiLower(action);
    if (action == "close" || action == "unfocus") {
        if (words >> extra) {
            throw FieldError(action, "unexpected \"" + extra + "\" after " + action);
        }
        return {
            {frame, action == "close" ? ScriptEvent::Kind::Close : ScriptEvent::Kind::FocusLost}};
    }
    if (action == "pad") {
        return {parsePad(frame, words)};
    }
    if (action != "down" && action != "up" && action != "press") {
        throw FieldError("action",
                         std::string("expected ") + actions + ", found \"" + action + "\"");
    }
    words >> key;
    const int code = parseKey(key);
    if (words >> extra) {
        throw FieldError("key", "unexpected \"" + extra + "\" after the key");
    }
    if (action == "down") {
        return {{frame, ScriptEvent::Kind::KeyDown, code}};
    }
    if (action == "up") {
        return {{frame, ScriptEvent::Kind::KeyUp, code}};
    }
    return {{frame, ScriptEvent::Kind::KeyDown, code}, {frame + 1, ScriptEvent::Kind::KeyUp, code}};
}

} // namespace

std::optional<int> scriptKeyCode(std::string_view name) {
    static constexpr std::pair<std::string_view, int> named[] = {
        {"up", 38},      {"down", 40}, {"left", 37},   {"right", 39},  {"space", 32},
        {"control", 17}, {"alt", 18},  {"return", 13}, {"escape", 27}, {"backspace", 8},
    };
    const std::string lower = asciiLower(name);
    for (const auto& [keyName, code] : named) {
        if (lower == keyName) {
            return code;
        }
    }
    for (int number = 1; number <= 12; ++number) {
        if (lower == "f" + std::to_string(number)) {
            return 111 + number; // F1 is 112
        }
    }
    if (lower.size() == 1 && std::isalnum(static_cast<unsigned char>(lower[0]))) {
        return std::toupper(static_cast<unsigned char>(lower[0]));
    }
    return std::nullopt;
}

std::vector<ScriptEvent> parseKeyScript(std::istream& text, const std::string& fileName) {
    std::vector<ScriptEvent> events;
    std::string line;
    for (int lineNumber = 1; std::getline(text, line); ++lineNumber) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        try {
            for (const ScriptEvent& event : parseLine(line)) {
                events.push_back(event);
            }
        } catch (const FieldError& error) {
            throw DataError(fileName, lineNumber, error.field(), error.message());
        }
    }
    // A press's release joins the events of the next frame in the place of the press's line.
    std::stable_sort(events.begin(), events.end(),
                     [](const ScriptEvent& a, const ScriptEvent& b) { return a.frame < b.frame; });
    return events;
}

int padsNamed(const std::vector<ScriptEvent>& events) {
    int highest = 0;
    for (const ScriptEvent& event : events) {
        if (event.kind == ScriptEvent::Kind::Pad) {
            highest = std::max(highest, event.pad);
        }
    }
    return highest;
}

std::vector<ScriptEvent> readKeyScript(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        throw DataError(path, 0, "", "cannot open the input script");
    }
    return parseKeyScript(file, path);
}

} // namespace vastorim
