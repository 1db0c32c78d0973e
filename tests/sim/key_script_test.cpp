#include "sim/key_script.h"

#include "engine/errors.h"

#include <gtest/gtest.h>

#include <sstream>
#include <tuple>

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
                              "8 up 7\n");
    const std::vector<ScriptEvent> expected = {
        {5, Kind::KeyDown, 13}, {6, Kind::KeyUp, 13}, {6, Kind::KeyDown, 65},
        {6, Kind::KeyDown, 38}, {7, Kind::KeyUp, 38}, {8, Kind::KeyDown, 27},
        {8, Kind::KeyDown, 8},  {8, Kind::KeyUp, 55}, {10, Kind::KeyDown, 32},
        {12, Kind::KeyUp, 32},  {30, Kind::Close, 0}};
    EXPECT_EQ(events, expected);
}

TEST(KeyScript, MalformedLinesNameTheLineAndField) {
    const std::tuple<const char*, int, const char*> cases[] = {
        {"1 down up\nx down up\n", 2, "frame"},
        {"-3 down up\n", 1, "frame"},
        {"# c\n\n4 hold up\n", 3, "action"},
        {"4\n", 1, "action"},
        {"4 down\n", 1, "key"},
        {"4 down shift\n", 1, "key"},
        {"4 up !\n", 1, "key"},
        {"4 down up left\n", 1, "key"},
        {"4 close now\n", 1, "close"}};
    for (const auto& [text, line, field] : cases) {
        try {
            parse(text);
            ADD_FAILURE() << "no error for: " << text;
        } catch (const DataError& error) {
            EXPECT_EQ(error.file(), "keys.txt");
            EXPECT_EQ(error.line(), line) << text;
            EXPECT_EQ(error.field(), field) << text;
        }
    }
}

} // namespace
} // namespace vastorim
