#include "platform/clock.h"
#include "platform/events.h"

#include <gtest/gtest.h>

namespace vastorim::platform {
namespace {

// SDL key codes: printable keys are their characters, the others their scan code with bit 30 set.
constexpr int scanKey(int scancode) {
    return scancode | (1 << 30);
}

TEST(VirtualKeyCodes, MapTheKeysTheGameUsesToWindowsCodes) {
    EXPECT_EQ(virtualKeyCode('\b'), 8);
    EXPECT_EQ(virtualKeyCode('\r'), 13);
    EXPECT_EQ(virtualKeyCode(scanKey(224)), 17); // left control
    EXPECT_EQ(virtualKeyCode(scanKey(228)), 17); // right control
    EXPECT_EQ(virtualKeyCode(27), 27);
    EXPECT_EQ(virtualKeyCode(' '), 32);
    EXPECT_EQ(virtualKeyCode(scanKey(80)), 37);
    EXPECT_EQ(virtualKeyCode(scanKey(82)), 38);
    EXPECT_EQ(virtualKeyCode(scanKey(79)), 39);
    EXPECT_EQ(virtualKeyCode(scanKey(81)), 40);
    for (char digit = '0'; digit <= '9'; ++digit) {
        EXPECT_EQ(virtualKeyCode(digit), digit);
    }
    for (char letter = 'a'; letter <= 'z'; ++letter) {
        EXPECT_EQ(virtualKeyCode(letter), letter - 'a' + 'A');
    }
    EXPECT_EQ(virtualKeyCode(scanKey(58)), 112); // F1
    EXPECT_EQ(virtualKeyCode(scanKey(69)), 123); // F12
    EXPECT_EQ(virtualKeyCode(scanKey(98)), 96);  // keypad 0
    EXPECT_EQ(virtualKeyCode(scanKey(89)), 97);  // keypad 1
    EXPECT_EQ(virtualKeyCode(scanKey(88)), 13);  // keypad enter
    EXPECT_EQ(virtualKeyCode(scanKey(127)), 0);  // mute: no code, dropped
    EXPECT_EQ(virtualKeyCode(0), 0);
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
    EXPECT_EQ(clock.ticks(), 0);
    clock.frameEnded();
    clock.frameEnded();
    EXPECT_EQ(clock.ticks(), 34);
}

TEST(RealClock, NeverRunsBackwards) {
    auto clock = createRealClock();
    std::int64_t first = clock->ticks();
    clock->frameEnded();
    EXPECT_GE(clock->ticks(), first);
}

} // namespace
} // namespace vastorim::platform
