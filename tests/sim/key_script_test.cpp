#include "sim/key_script.h"

#include "engine/errors.h"

#include <gtest/gtest.h>

#include <sstream>

namespace vastorim {
namespace {

using Kind = ScriptEvent::Kind;

std::vector<ScriptEvent> parse(const std::string& text) {
    std::istringstream stream(text);
    return parseKeyScript(stream, "keys.txt");
}

TEST(KeyScript, ReadsDownUpCloseAndComments) {
    const auto events = parse("# a start\n"
                              "10 down space\n"
                              "\n"
                              "12 up SPACE   # released\r\n"
                              "30 close\n");
    const std::vector<ScriptEvent> expected = {
        {10, Kind::KeyDown, 32}, {12, Kind::KeyUp, 32}, {30, Kind::Close, 0}};
    EXPECT_EQ(events, expected);
}

TEST(KeyScript, PressReleasesOnTheNextFrameInFileOrder) {
    const auto events = parse("5 press return\n"
                              "6 down a\n"
                              "6 press up\n");
    const std::vector<ScriptEvent> expected = {{5, Kind::KeyDown, 13},
                                               {6, Kind::KeyUp, 13},
                                               {6, Kind::KeyDown, 65},
                                               {6, Kind::KeyDown, 38},
                                               {7, Kind::KeyUp, 38}};
    EXPECT_EQ(events, expected);
    EXPECT_EQ(parse("9 down left\n2 down right\n")[0].frame, 2) << "ordered by frame";
}

TEST(KeyScript, KnowsTheKeyVocabulary) {
    const std::pair<const char*, int> keys[] = {{"Return", 13}, {"escape", 27}, {"backspace", 8},
                                                {"7", 55},      {"shift", 0},   {"!", 0}};
    for (const auto& [name, code] : keys) {
        EXPECT_EQ(scriptKeyCode(name).value_or(0), code) << name;
    }
}

void expectError(const std::string& text, int line, const std::string& field) {
    try {
        parse(text);
        ADD_FAILURE() << "no error for: " << text;
    } catch (const DataError& error) {
        EXPECT_EQ(error.file(), "keys.txt");
        EXPECT_EQ(error.line(), line) << text;
        EXPECT_EQ(error.field(), field) << text;
    }
}

TEST(KeyScript, MalformedLinesNameTheLineAndField) {
    expectError("1 down up\nx down up\n", 2, "frame");
    expectError("-3 down up\n", 1, "frame");
    expectError("# c\n\n4 hold up\n", 3, "action");
    expectError("4\n", 1, "action");
    expectError("4 down\n", 1, "key");
    expectError("4 down shift\n", 1, "key");
    expectError("4 down up left\n", 1, "key");
    expectError("4 close now\n", 1, "close");
}

} // namespace
} // namespace vastorim
