#include "platform/clock.h"
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
        {'z', 90},         {scanKey(58), 112}, {scanKey(88), 13},  {scanKey(127), 0},
    };
    for (auto [sdlKey, windowsKey] : keys) {
        EXPECT_EQ(virtualKeyCode(sdlKey), windowsKey) << sdlKey;
    }
}

TEST(ScriptedEvents, DeliversQueuedEventsOnceInOrder) {
    ScriptedEvents events;
    std::vector<Event> polled;
    events.poll(polled);
    EXPECT_TRUE(polled.empty());
    events.push({Event::Type::KeyDown, 32});
    events.push({Event::Type::KeyUp, 32});
    events.push({Event::Type::Close, 0});
    polled.push_back({Event::Type::KeyDown, 1});
    events.poll(polled);
    EXPECT_EQ(polled, (std::vector<Event>{{Event::Type::KeyDown, 1},
                                          {Event::Type::KeyDown, 32},
                                          {Event::Type::KeyUp, 32},
                                          {Event::Type::Close, 0}}));
    polled.clear();
    events.poll(polled);
    EXPECT_TRUE(polled.empty());
}

TEST(VirtualClock, AdvancesOnlyAtTheEndOfAFrame) {
    VirtualClock clock(17);
    EXPECT_EQ(clock.ticks(), 0);
    clock.frameEnded();
    clock.frameEnded();
    EXPECT_EQ(clock.ticks(), 34);
}

} // namespace
} // namespace vastorim::platform
