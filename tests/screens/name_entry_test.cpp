#include "screens/game_over.h"

#include <gtest/gtest.h>

namespace vastorim {
namespace {

constexpr int backspace = 8, returnKey = 13, space = 32;

std::string typed(std::string name, std::initializer_list<int> keys) {
    for (int key : keys) {
        editPlayerName(name, key);
    }
    return name;
}

TEST(NameEntry, TypingStartsFromTheCurrentName) {
    EXPECT_EQ(typed("player", {'A', 'B'}), "playerAB");
    EXPECT_EQ(typed("", {'Z', space, '9'}), "Z 9");
}

TEST(NameEntry, AcceptsDigitsOneToNineAndCapitalLettersOnly) {
    EXPECT_EQ(typed("", {'0'}), "");
    EXPECT_EQ(typed("", {'1'}), "1");
    EXPECT_EQ(typed("", {'A', 'Z', 91, 27, 17, 37, 40, 13}), "AZ");
}

TEST(NameEntry, NeverLongerThanTenCharacters) {
    EXPECT_EQ(typed("", {'A', 'B', 'C', 'D', 'E', 'F', 'G', 'H', 'I', 'J', 'K'}), "ABCDEFGHIJ");
    EXPECT_EQ(typed("ABCDEFGHIJ", {space}), "ABCDEFGHIJ");
    EXPECT_EQ(typed("ABCDEFGHIJ", {backspace, 'X'}), "ABCDEFGHIX");
}

TEST(NameEntry, BackspaceRemovesTheLastCharacterUntilEmpty) {
    EXPECT_EQ(typed("AB", {backspace}), "A");
    EXPECT_EQ(typed("A", {backspace, backspace}), "");
}

TEST(NameEntry, ReturnSubmitsOnlyAChangedNonEmptyName) {
    std::string name = "player";
    EXPECT_FALSE(editPlayerName(name, returnKey));
    name = "";
    EXPECT_FALSE(editPlayerName(name, returnKey));
    name = "player";
    EXPECT_FALSE(editPlayerName(name, backspace));
    EXPECT_TRUE(editPlayerName(name, returnKey));
    EXPECT_EQ(name, "playe");
    name = "PLAYER";
    EXPECT_TRUE(editPlayerName(name, returnKey));
    name = "ANNA";
    EXPECT_FALSE(editPlayerName(name, 'B'));
}

} // namespace
} // namespace vastorim
