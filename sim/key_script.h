#pragma once

#include "platform/events.h"

#include <cstdint>
#include <istream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vastorim {

// A headless run's input: key events, pad events, the window's loss of focus and its close
// request, by frame.
//   FRAME down KEY | FRAME up KEY | FRAME press KEY | FRAME unfocus | FRAME close
//   FRAME pad N button NAME 0|1 | FRAME pad N axis NAME VALUE        # comments run to the end
// "press" is down at FRAME and up at FRAME + 1. KEY is up, down, left, right, space, control,
// alt, return, escape, backspace, f1 to f12, or a single letter or digit. Pad N (from 1) is the
// N-th pad connected; its buttons are a, start, dpup, dpdown, dpleft and dpright, its axes leftx
// and lefty, from -32768 (left, up) to 32767 (right, down).
struct ScriptEvent {
    enum class Kind { KeyDown, KeyUp, Close, FocusLost, Pad };
    std::int64_t frame = 0;
    Kind kind = Kind::KeyDown;
    int keyCode = 0; // key events only
    int pad = 0;     // pad events: the pad's number, the control and its value
    platform::PadControl control = platform::PadControl::A;
    int value = 0;

    bool operator==(const ScriptEvent&) const = default;
};

// The key code of a script key name (any letter case), or nothing when it is not one.
std::optional<int> scriptKeyCode(std::string_view name);

// The events by frame, and in the order the script gives them within a frame. A malformed line is
// a DataError naming `fileName`, the line and the field.
std::vector<ScriptEvent> parseKeyScript(std::istream& text, const std::string& fileName);

// The highest pad number the events name; 0 when they name none.
int padsNamed(const std::vector<ScriptEvent>& events);

// Reads and parses the script file at `path`.
std::vector<ScriptEvent> readKeyScript(const std::string& path);

} // namespace vastorim
