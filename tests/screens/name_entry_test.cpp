#include "screens/game_over.h"

#include <gtest/gtest.h>

namespace vastorim {
namespace {

constexpr int backspace = 8, returnKey = 13, space = 32;

TEST(NameEntry, TypesCapitalsDigitsOneToNineAndSpacesUpToTenAndBackspaceDeletes) {
    struct Case {
        std::string start;
        std::vector<int> keys;
        std::string name;
    };
    for (const Case& c : std::vector<Case>{
             {"player", {'A', 'B'}, "playerAB"},
             {"", {'Z', space, '9', '0'}, "Z 9"},
             {"", {'A', 'Z', 91, 27, 17, 37, 40, returnKey}, "AZ"},
             {"", {'A', 'B', 'C', 'D', 'E', 'F', 'G', 'H', 'I', 'J', 'K'}, "ABCDEFGHIJ"},
             {"ABCDEFGHIJ", {space, backspace, 'X'}, "ABCDEFGHIX"},
             {"A", {backspace, backspace}, ""}}) {
        std::string name = c.start;
        for (int key : c.keys) {
            editPlayerName(name, key);
        }
        EXPECT_EQ(name, c.name) << c.start;
    }
}

TEST(NameEntry, ReturnSubmitsOnlyAChangedNonEmptyName) {
    for (const auto& [name, submits] : std::vector<std::pair<std::string, bool>>{
             {"player", false}, {"", false}, {"playe", true}, {"PLAYER", true}}) {
        std::string edited = name;
        EXPECT_EQ(editPlayerName(edited, returnKey), submits) << name;
        EXPECT_EQ(edited, name);
    }
    std::string name = "ANNA";
    EXPECT_FALSE(editPlayerName(name, 'B'));
}

} // namespace
} // namespace vastorim
