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
    const std::pair<int, int> keys[] = {{'\r', 13}, {' ', 32},         {scanKey(80), 37},
                                        {'a', 65},  {scanKey(88), 13}, {scanKey(127), 0}};
    for (auto [sdlKey, windowsKey] : keys) {
        EXPECT_EQ(virtualKeyCode(sdlKey), windowsKey) << sdlKey;
    }
}

} // namespace
} // namespace vastorim::platform
