#include "support/test_support.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace vastorim::testing {
namespace {

using namespace std::chrono_literals;

bool installed(const std::string& program) {
    return test::runCommand("command -v " + program).status == 0;
}

// A child process started with /bin/sh -c, ended by the test if it is still running.
class Child {
  public:
    explicit Child(const std::string& command) {
        pid_ = ::fork();
        if (pid_ == 0) {
            ::setpgid(0, 0);
            ::execl("/bin/sh", "sh", "-c", command.c_str(), static_cast<char*>(nullptr));
            ::_exit(127);
        }
    }
    ~Child() {
        if (pid_ > 0 && !status_) {
            ::kill(-pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
    }
    // The exit status once the process has ended within `limit`, else nothing.
    std::optional<int> waitFor(std::chrono::milliseconds limit) {
        const auto end = std::chrono::steady_clock::now() + limit;
        while (!status_ && std::chrono::steady_clock::now() < end) {
            int raw = 0;
            if (::waitpid(pid_, &raw, WNOHANG) == pid_) {
                status_ = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
            } else {
                std::this_thread::sleep_for(50ms);
            }
        }
        return status_;
    }
    bool running() { return !waitFor(0ms); }

  private:
    pid_t pid_ = -1;
    std::optional<int> status_;
};

// Pixels of an xwd window picture (32 bits each) whose three colour bytes all exceed `level`, in
// a box given in the game's 1024 x 768 surface coordinates (the window may show it scaled); -1
// when the bytes are no such picture.
int brightPixels(const std::string& xwd, int left, int top, int right, int bottom, int level) {
    if (xwd.size() < 100) {
        return -1;
    }
    const auto field = [&](std::size_t index) {
        std::uint32_t value = 0;
        for (std::size_t i = 0; i < 4; ++i) {
            value = value << 8 | static_cast<unsigned char>(xwd[index * 4 + i]);
        }
        return value;
    };
    const std::uint32_t width = field(4), height = field(5), bytesPerLine = field(12);
    const std::size_t firstColour = field(7) == 0 ? 0 : 1; // LSB first: B G R x; else x R G B
    const std::size_t start = field(0) + field(19) * 12;
    if (field(11) != 32 || xwd.size() < start + std::size_t{bytesPerLine} * height) {
        return -1;
    }
    const double sx = width / 1024.0, sy = height / 768.0;
    int count = 0;
    for (int y = static_cast<int>(top * sy); y < static_cast<int>(bottom * sy); ++y) {
        for (int x = static_cast<int>(left * sx); x < static_cast<int>(right * sx); ++x) {
            const std::size_t at = start + std::size_t(y) * bytesPerLine + x * 4 + firstColour;
            count += static_cast<unsigned char>(xwd[at]) > level &&
                     static_cast<unsigned char>(xwd[at + 1]) > level &&
                     static_cast<unsigned char>(xwd[at + 2]) > level;
        }
    }
    return count;
}

TEST(RealWindow, APlayerStartsAGameFliesShootsAndQuitsWithTheKeyboard) {
    if (!installed("Xvfb") || !installed("xdotool") || !installed("xwd")) {
        GTEST_SKIP()
            << "Xvfb, xdotool or xwd is not installed (scripts/setup.sh test installs them)";
    }
    // A display number no other server uses.
    int number = 100 + ::getpid() % 400;
    while (std::filesystem::exists("/tmp/.X11-unix/X" + std::to_string(number))) {
        ++number;
    }
    const std::string display = ":" + std::to_string(number);
    const std::string socket = "/tmp/.X11-unix/X" + std::to_string(number);
    Child server("exec Xvfb " + display + " -screen 0 1280x1024x24 -nolisten tcp 2>/dev/null");
    for (int i = 0; i < 100 && !std::filesystem::exists(socket); ++i) {
        std::this_thread::sleep_for(50ms);
    }
    ASSERT_TRUE(std::filesystem::exists(socket)) << "Xvfb did not start";

    const std::string env = "DISPLAY=" + display + " SDL_AUDIODRIVER=dummy ";
    Child game("cd '" VASTORIM_PROGRAM_DIR "' && exec env " + env + "./vastorim run");
    const test::CommandResult found =
        test::runCommand(env + "timeout 20 xdotool search --sync --name '^Vastorim$'");
    ASSERT_EQ(found.status, 0) << "no game window appeared";
    const std::string window = found.out.substr(0, found.out.find('\n'));
    auto xdotool = [&](const std::string& arguments) {
        EXPECT_EQ(test::runCommand(env + "xdotool " + arguments).status, 0) << arguments;
    };
    xdotool("windowfocus --sync " + window);
    std::this_thread::sleep_for(1s);
    test::TempFolder folder;
    auto screenshot = [&](const std::string& name) {
        const std::string path = folder.file(name);
        EXPECT_EQ(
            test::runCommand(env + "xwd -silent -id " + window + " -out '" + path + "'").status, 0);
        return test::readFile(path);
    };
    // The main menu: the title in white in its band, no clock in the corner (a drifting background
    // spark may light a few pixels there; the clock lights hundreds).
    const std::string menu = screenshot("menu.xwd");
    ASSERT_GE(brightPixels(menu, 0, 0, 1, 1, 0), 0) << "not a 32-bit XWD picture";
    EXPECT_GT(brightPixels(menu, 0, 180, 1024, 250, 200), 100);
    EXPECT_LT(brightPixels(menu, 20, 724, 200, 768, 200), 100);

    xdotool("key Return"); // Start Game
    std::this_thread::sleep_for(500ms);
    xdotool("keydown Up keydown space");
    std::this_thread::sleep_for(2s);
    xdotool("keyup Up keyup space");

    // In play: the survival clock in the lower left corner.
    EXPECT_GT(brightPixels(screenshot("play.xwd"), 20, 724, 200, 768, 200), 300);
    EXPECT_TRUE(game.running());

    xdotool("key Escape"); // suspend: back to the main menu
    std::this_thread::sleep_for(1s);
    EXPECT_TRUE(game.running()) << "Escape in play must not end the program";
    xdotool("key Escape"); // Escape on the main menu ends the program
    const std::optional<int> status = game.waitFor(10s);
    ASSERT_TRUE(status.has_value()) << "the game did not end on Escape in the main menu";
    EXPECT_EQ(*status, 0);
}

} // namespace
} // namespace vastorim::testing
