#include "sim/key_script.h"

#include "support/test_support.h"

#include <gtest/gtest.h>

#include <sstream>

namespace vastorim {
namespace {

using Kind = ScriptEvent::Kind;

std::vector<ScriptEvent> parse(const std::string& text) {
    std::istringstream stream(text);
    return parseKeyScript(stream, "keys.txt");
}

TEST(KeyScript, ReadsEveryActionAndKeyNameAndCommentsOrderedByFrameThenFileOrder) {
    const auto events = parse("# a start\n"
                              "10 down space\n"
                              "\n"
                              "12 up SPACE   # released\r\n"
                              "30 close\n"
                              "5 press return\n"
                              "6 down a\n"
                              "6 press up\n"
                              "8 down Escape\n"
                              "8 down backspace\n"
                              "8 up 7\n"
                              "9 down ALT\n"
                              "9 press f12\n"
                              "9 up F1\n"
                              "20 unfocus\n"
                              "9 pad 16 axis LeftY -32768\n");
    const ScriptEvent pad{9, Kind::Pad, 0, 16, platform::PadControl::LeftStickY, -32768};
    const std::vector<ScriptEvent> expected = {
        {5, Kind::KeyDown, 13},  {6, Kind::KeyUp, 13},   {6, Kind::KeyDown, 65},
        {6, Kind::KeyDown, 38},  {7, Kind::KeyUp, 38},   {8, Kind::KeyDown, 27},
        {8, Kind::KeyDown, 8},   {8, Kind::KeyUp, 55},   {9, Kind::KeyDown, 18},
        {9, Kind::KeyDown, 123}, {9, Kind::KeyUp, 112},  pad,
        {10, Kind::KeyDown, 32}, {10, Kind::KeyUp, 123}, {12, Kind::KeyUp, 32},
        {20, Kind::FocusLost},   {30, Kind::Close, 0}};
    EXPECT_EQ(events, expected);
}

TEST(KeyScript, MalformedLinesNameTheLineAndField) {
    const std::pair<const char*, const char*> cases[] = {
        {"1 down up\nx down up\n", "keys.txt:2: frame"},
        {"-3 down up\n", "keys.txt:1: frame"},
        {"9223372036854775807 press up\n", "keys.txt:1: frame"},
        {"1e300 down up\n", "keys.txt:1: frame"},
        {"nan down up\n", "keys.txt:1: frame"},
        {"# c\n\n4 hold up\n", "keys.txt:3: action"},
        {"4\n", "keys.txt:1: action"},
        {"4 down\n", "keys.txt:1: key"},
        {"4 down shift\n", "keys.txt:1: key"},
        {"4 up !\n", "keys.txt:1: key"},
        {"4 down up left\n", "keys.txt:1: key"},
        {"4 close now\n", "keys.txt:1: close"},
        {"4 unfocus me\n", "keys.txt:1: unfocus"},
        {"4 down f13\n", "keys.txt:1: key"},
        {"4 pad 0 button a 1\n", "keys.txt:1: pad"},
        {"4 pad 17 button a 1\n", "keys.txt:1: pad"},
        {"4 pad 1 trigger a 1\n", "keys.txt:1: input"},
        {"4 pad 1 button leftx 1\n", "keys.txt:1: control"},
        {"4 pad 1 axis a 1\n", "keys.txt:1: control"},
        {"4 pad 1 button a 2\n", "keys.txt:1: value"},
        {"4 pad 1 axis lefty 32768\n", "keys.txt:1: value"},
        {"4 pad 1 axis lefty\n", "keys.txt:1: value"},
        {"4 pad 1 button a 1 2\n", "keys.txt:1: value"}};
    for (const auto& [text, place] : cases) {
        const std::string& script = text; // clang 14 lambdas cannot capture a structured binding
        EXPECT_EQ(test::errorOf([&] { parse(script); }), place) << script;
    }
}

} // namespace
} // namespace vastorim
