#include "support/test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>

namespace vastorim::testing {
namespace {

// Pixels of an xwd window picture (32 bits each) whose three colour bytes all exceed `level`, in
// a box given in the game's 1024 x 768 surface coordinates (the window may show it scaled); -1
// when the bytes are no such picture.
int brightPixels(const std::string& xwd, int left, int top, int right, int bottom, int level) {
    const auto byte = [&](std::size_t at) { return static_cast<unsigned char>(xwd[at]); };
    const auto field = [&](std::size_t index) {
        return std::uint32_t{byte(index * 4)} << 24 | byte(index * 4 + 1) << 16 |
               byte(index * 4 + 2) << 8 | byte(index * 4 + 3);
    };
    if (xwd.size() < 100 || field(11) != 32) {
        return -1;
    }
    const std::uint32_t width = field(4), height = field(5), bytesPerLine = field(12);
    const std::size_t firstColour = field(7) == 0 ? 0 : 1; // LSB first: B G R x; else x R G B
    const std::size_t start = field(0) + field(19) * 12;
    if (xwd.size() < start + std::size_t{bytesPerLine} * height) {
        return -1;
    }
    const double sx = width / 1024.0, sy = height / 768.0;
    int count = 0;
    for (int y = static_cast<int>(top * sy); y < static_cast<int>(bottom * sy); ++y) {
        for (int x = static_cast<int>(left * sx); x < static_cast<int>(right * sx); ++x) {
            const std::size_t at = start + std::size_t(y) * bytesPerLine + x * 4 + firstColour;
            count += std::min({byte(at), byte(at + 1), byte(at + 2)}) > level;
        }
    }
    return count;
}

// A player's session on a display of its own, typed with xdotool and pictured with xwd ($1: the
// program folder, $2: where the pictures go). A step that fails ends it with its own status.
const char* const session = R"script(
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$2/display" 2>/dev/null & server=$!
trap 'kill $server' EXIT
trap 'exit 99' TERM
timeout 10 sh -c 'until [ -s "$0" ]; do sleep 0.1; done' "$2/display" || exit 8
export DISPLAY=":$(cat "$2/display")" SDL_AUDIODRIVER=dummy
cd "$1" || exit 9
./vastorim run & game=$!
window=$(timeout 20 xdotool search --sync --name '^Vastorim$' | head -n 1)
[ -n "$window" ] || exit 10
xdotool windowfocus --sync "$window"; sleep 1
xwd -silent -id "$window" -out "$2/menu.xwd" || exit 11
xdotool key Return; sleep 0.5
xdotool keydown Up keydown space; sleep 2; xdotool keyup Up keyup space
xwd -silent -id "$window" -out "$2/play.xwd" || exit 12
xdotool key Escape; sleep 1
kill -0 $game || exit 13
xdotool key Escape
timeout 10 tail --pid=$game -f /dev/null || exit 14
wait $game
)script";

TEST(RealWindow, APlayerStartsAGameFliesShootsAndQuitsWithTheKeyboard) {
    if (test::runCommand("command -v Xvfb && command -v xdotool && command -v xwd").status != 0) {
        GTEST_SKIP()
            << "Xvfb, xdotool or xwd is not installed (scripts/setup.sh test installs them)";
    }
    const test::TempFolder folder;
    const test::CommandResult played =
        test::runCommand("timeout 90 bash '" + folder.write("session.sh", session) +
                         "' '" VASTORIM_PROGRAM_DIR "' '" + folder.path() + "'");
    ASSERT_EQ(played.status, 0)
        << "8: no X server, 10: no game window, 11, 12: no picture, 13: the program ended in play "
           "or on Escape there, 14: Escape in the main menu did not end it, else its own status\n"
        << played.err;

    // The main menu: the title in white in its band, no clock in the corner (a drifting background
    // spark may light a few pixels there; the clock lights hundreds).
    const std::string menu = test::readFile(folder.file("menu.xwd"));
    ASSERT_GE(brightPixels(menu, 0, 0, 1, 1, 0), 0) << "not a 32-bit XWD picture";
    EXPECT_GT(brightPixels(menu, 0, 180, 1024, 250, 200), 100);
    EXPECT_LT(brightPixels(menu, 20, 724, 200, 768, 200), 100);
    // In play: the survival clock in the lower left corner.
    EXPECT_GT(brightPixels(test::readFile(folder.file("play.xwd")), 20, 724, 200, 768, 200), 300);
}

} // namespace
} // namespace vastorim::testing
