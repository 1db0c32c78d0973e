#pragma once

#include <cstdint>
#include <istream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vastorim {

// A headless run's input: key events and the window's close request, by frame.
//   FRAME down KEY | FRAME up KEY | FRAME press KEY | FRAME close     # comments run to the end
// "press" is down at FRAME and up at FRAME + 1. KEY is up, down, left, right, space, control,
// return, escape, backspace, or a single letter or digit.
struct ScriptEvent {
    enum class Kind { KeyDown, KeyUp, Close };
    std::int64_t frame = 0;
    Kind kind = Kind::KeyDown;
    int keyCode = 0; // 0 for Close

    bool operator==(const ScriptEvent&) const = default;
};

// The key code of a script key name (any letter case), or nothing when it is not one.
std::optional<int> scriptKeyCode(std::string_view name);

// The events by frame, and in the order the script gives them within a frame. A malformed line is
// a DataError naming `fileName`, the line and the field.
std::vector<ScriptEvent> parseKeyScript(std::istream& text, const std::string& fileName);

// Reads and parses the script file at `path`.
std::vector<ScriptEvent> readKeyScript(const std::string& path);

} // namespace vastorim
