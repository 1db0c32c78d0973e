// Pads as keys: dead zone and hysteresis of the stick, d-pad and stick together, the key a
// control pressed, and pads given to players in the order they are connected.
#include "engine/pad_keys.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vastorim {
namespace {

using platform::Event;
using platform::PadControl;

// Player p's keys: left 100p + 1, right + 2, up + 3, down + 4, fire + 5, start + 6.
PadKeyCodes keysOf(int player) {
    const int base = 100 * player;
    return {base + 1, base + 2, base + 3, base + 4, base + 5, base + 6};
}

const auto added = [](int pad) { return Event{.type = Event::Type::PadAdded, .pad = pad}; };
const auto removed = [](int pad) { return Event{.type = Event::Type::PadRemoved, .pad = pad}; };
const auto down = [](int key) { return KeyEvent{true, key}; };
const auto up = [](int key) { return KeyEvent{false, key}; };

Event changed(PadControl control, int value, int pad = 1) {
    return {.type = Event::Type::PadChanged, .pad = pad, .control = control, .value = value};
}

class PadKeys : public ::testing::Test {
  protected:
    void SetUp() override { resetPadKeys(); }
    void TearDown() override { resetPadKeys(); }

    std::vector<KeyEvent> feed(const std::vector<Event>& events,
                               const std::function<PadKeyCodes(int)>& keys = keysOf) {
        std::vector<KeyEvent> out;
        for (const Event& event : events) {
            translatePadEvent(event, keys, out);
        }
        return out;
    }
};

TEST_F(PadKeys, EachControlPressesItsKeyOnceWithTheSticksDeadZoneAndHysteresis) {
    using X = PadControl;
    const auto x = [](int value) { return changed(X::LeftStickX, value); };
    const auto y = [](int value) { return changed(X::LeftStickY, value); };
    const struct {
        const char* what;
        std::vector<Event> events;
        std::vector<KeyEvent> keys;
    } cases[] = {
        {"a resting stick presses nothing", {x(3000), x(-15999), y(15999), x(0)}, {}},
        {"pressed beyond 16000, held down to 8000, released within it",
         {x(16000), x(8001), x(30000), x(8000), x(15000)},
         {down(2), up(2)}},
        {"across the middle in one move",
         {x(-32768), x(32767), x(0)},
         {down(1), up(1), down(2), up(2)}},
        {"the vertical axis: up is negative", {y(-20000), y(20000)}, {down(3), up(3), down(4)}},
        {"d-pad and stick hold one direction together",
         {changed(X::DpadLeft, 1), x(-20000), changed(X::DpadLeft, 0), x(0)},
         {down(1), up(1)}},
        {"buttons, and no repeats",
         {changed(X::A, 1), changed(X::A, 1), changed(X::Start, 1), changed(X::A, 0),
          changed(X::DpadUp, 1), changed(X::DpadDown, 1), changed(X::DpadRight, 1)},
         {down(5), down(6), up(5), down(3), down(4), down(2)}},
    };
    for (const auto& [what, events, keys] : cases) {
        resetPadKeys();
        std::vector<Event> connected = {added(1)};
        connected.insert(connected.end(), events.begin(), events.end());
        EXPECT_EQ(feed(connected), keys) << what;
    }
}

TEST_F(PadKeys, AReleaseGivesBackTheKeyThePressGaveAndAControlWithoutAKeyPressesNothing) {
    int mode = 0; // the keys change while a control is held, as when a game starts from the menu
    const auto keys = [&mode](int player) {
        PadKeyCodes codes = keysOf(player + mode);
        codes.right = mode == 2 ? 0 : codes.right;
        return codes;
    };
    EXPECT_EQ(feed({added(1), changed(PadControl::A, 1)}, keys), (std::vector{down(5)}));
    mode = 1;
    EXPECT_EQ(feed({changed(PadControl::A, 0), changed(PadControl::A, 1)}, keys),
              (std::vector{up(5), down(105)}));
    mode = 2;
    EXPECT_EQ(feed({changed(PadControl::DpadRight, 1), changed(PadControl::DpadRight, 0)}, keys),
              (std::vector<KeyEvent>{}));
}

TEST_F(PadKeys, PadsGoToPlayersInConnectionOrderAndARemovedPadReleasesItsKeysAndItsPlace) {
    EXPECT_EQ(feed({added(7), added(3), added(3), changed(PadControl::A, 1, 3),
                    changed(PadControl::LeftStickY, -20000, 7), changed(PadControl::A, 1, 7)}),
              (std::vector{down(105), down(3), down(5)}))
        << "7 is player 0 and 3 player 1; a pad announced twice keeps its place";
    EXPECT_EQ(feed({removed(7), removed(7), changed(PadControl::A, 0, 7)}),
              (std::vector{up(3), up(5)}));
    EXPECT_EQ(feed({added(9), changed(PadControl::Start, 1, 9), added(4),
                    changed(PadControl::Start, 1, 4), changed(PadControl::A, 0, 3)}),
              (std::vector{down(6), down(206), up(105)}))
        << "9 takes the free place 0, 4 the next free place 2";
}

} // namespace
} // namespace vastorim
