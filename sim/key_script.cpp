#include "sim/key_script.h"

#include "engine/errors.h"
#include "engine/text_case.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <fstream>
#include <sstream>

namespace vastorim {
namespace {

std::int64_t parseFrame(const std::string& word) {
    std::int64_t frame = -1;
    const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), frame);
    if (error != std::errc{} || end != word.data() + word.size() || frame < 0) {
        throw FieldError("frame", "expected a frame number of 0 or more, found \"" + word + "\"");
    }
    return frame;
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

// The events of one line, in the order they happen.
std::vector<ScriptEvent> parseLine(const std::string& line) {
    std::istringstream words(line.substr(0, line.find('#')));
    std::string frameWord, action, key, extra;
    if (!(words >> frameWord)) {
        return {};
    }
    const std::int64_t frame = parseFrame(frameWord);
    if (!(words >> action)) {
        throw FieldError("action", "expected down, up, press or close");
    }
    action = asciiLower(action);
    if (action == "close") {
        if (words >> extra) {
            throw FieldError("close", "unexpected \"" + extra + "\" after close");
        }
        return {{frame, ScriptEvent::Kind::Close, 0}};
    }
    if (action != "down" && action != "up" && action != "press") {
        throw FieldError("action", "expected down, up, press or close, found \"" + action + "\"");
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
        {"up", 38},      {"down", 40},   {"left", 37},   {"right", 39},    {"space", 32},
        {"control", 17}, {"return", 13}, {"escape", 27}, {"backspace", 8},
    };
    const std::string lower = asciiLower(name);
    for (const auto& [keyName, code] : named) {
        if (lower == keyName) {
            return code;
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

std::vector<ScriptEvent> readKeyScript(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        throw DataError(path, 0, "", "cannot open the input script");
    }
    return parseKeyScript(file, path);
}

} // namespace vastorim
