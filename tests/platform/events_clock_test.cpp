#include "platform/events.h"

#include <gtest/gtest.h>

#include <utility>

namespace vastorim::platform {
namespace {

// SDL key codes: printable keys are their characters, the others their scan code with bit 30 set.
constexpr int scanKey(int scancode) {
    return scancode | (1 << 30);
}

TEST(VirtualKeyCodes, MapTheKeysTheGameUsesToWindowsCodes) {
    const std::pair<int, int> keys[] = {
        {'\b', 8},         {'\r', 13},         {scanKey(224), 17}, {27, 27},
        {' ', 32},         {scanKey(80), 37},  {scanKey(82), 38},  {scanKey(79), 39},
        {scanKey(81), 40}, {'0', 48},          {'9', 57},          {'a', 65},
        {'z', 90},         {scanKey(58), 112}, {scanKey(88), 13},  {scanKey(127), 0}};
    for (auto [sdlKey, windowsKey] : keys) {
        EXPECT_EQ(virtualKeyCode(sdlKey), windowsKey) << sdlKey;
    }
}

} // namespace
} // namespace vastorim::platform
