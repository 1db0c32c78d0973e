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

// The share of pixels that are not black in an XWD picture of 32-bit pixels; -1 when the file
// is not such a picture.
double litShare(const std::string& bytes) {
    auto field = [&](std::size_t index) -> std::uint32_t {
        std::uint32_t value = 0;
        for (std::size_t i = 0; i < 4; ++i) {
            value = value << 8 | static_cast<unsigned char>(bytes.at(index * 4 + i));
        }
        return value;
    };
    if (bytes.size() < 100) {
        return -1;
    }
    const std::uint32_t headerSize = field(0), width = field(4), height = field(5),
                        bitsPerPixel = field(11), bytesPerLine = field(12), colours = field(19);
    const std::size_t start = headerSize + colours * 12;
    if (bitsPerPixel != 32 || bytes.size() < start + std::size_t{bytesPerLine} * height) {
        return -1;
    }
    std::size_t lit = 0;
    for (std::uint32_t y = 0; y < height; ++y) {
        for (std::uint32_t x = 0; x < width; ++x) {
            const std::size_t at = start + std::size_t{y} * bytesPerLine + x * 4;
            lit += (bytes[at] | bytes[at + 1] | bytes[at + 2] | bytes[at + 3]) != 0;
        }
    }
    return static_cast<double>(lit) / (static_cast<double>(width) * height);
}

TEST(RealWindow, APlayerStartsAGameFliesShootsAndQuitsWithTheKeyboard) {
    if (!installed("Xvfb") || !installed("xdotool") || !installed("xwd")) {
        GTEST_SKIP()
            << "Xvfb, xdotool or xwd is not installed (scripts/setup.sh test installs them)";
    }
    const std::string display = ":" + std::to_string(100 + ::getpid() % 400);
    Child server("exec Xvfb " + display + " -screen 0 1280x1024x24 -nolisten tcp 2>/dev/null");
    const std::string socket = "/tmp/.X11-unix/X" + display.substr(1);
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

    xdotool("key Return"); // Start Game
    std::this_thread::sleep_for(500ms);
    xdotool("keydown Up keydown space");
    std::this_thread::sleep_for(2s);
    xdotool("keyup Up keyup space");

    test::TempFolder folder;
    const std::string picture = folder.file("window.xwd");
    ASSERT_EQ(
        test::runCommand(env + "xwd -silent -id " + window + " -out '" + picture + "'").status, 0);
    const double share = litShare(test::readFile(picture));
    ASSERT_GE(share, 0) << "not a 32-bit XWD picture";
    EXPECT_GT(share, 0.01) << "the window shows almost nothing";
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
