#include "engine/screenshots.h"

#include "engine/app_path.h"
#include "engine/renderer.h"
#include "engine/text_files.h"
#include "platform/platform_error.h"
#include "platform/png_file.h"

#include <chrono>
#include <cstdint>
#include <future>
#include <iostream>
#include <vector>

namespace vastorim {
namespace {

struct ScreenshotState {
    std::vector<std::future<void>> writers;
    std::string lastStamp; // the second of the last shot, and how many were taken in it
    int shotsInLastSecond = 0;
};

ScreenshotState state;

void dropFinishedWriters() {
    std::erase_if(state.writers, [](const std::future<void>& writer) {
        return writer.wait_for(std::chrono::seconds(0)) == std::future_status::ready;
    });
}

// A name no shot of this run took and no file holds. A shot still being written has no file yet,
// so the shots of this run are counted rather than looked for.
std::string freshPath(const std::string& folder) {
    const std::time_t now = std::time(nullptr);
    const std::tm* local = std::localtime(&now);
    const std::tm when = local != nullptr ? *local : std::tm{};
    const std::string stamp = screenshotName(when, 1);
    state.shotsInLastSecond = stamp == state.lastStamp ? state.shotsInLastSecond + 1 : 1;
    state.lastStamp = stamp;
    std::string path = folder + "/" + screenshotName(when, state.shotsInLastSecond);
    while (fileExists(path)) {
        path = folder + "/" + screenshotName(when, ++state.shotsInLastSecond);
    }
    return path;
}

} // namespace

std::string screenshotName(const std::tm& when, int shotOfTheSecond) {
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &when);
    std::string name = std::string("vastorim-") + stamp;
    if (shotOfTheSecond > 1) {
        name += "-" + std::to_string(shotOfTheSecond);
    }
    return name + ".png";
}

void saveScreenshot() {
    platform::Video* video = currentVideo();
    if (video == nullptr) {
        return;
    }
    dropFinishedWriters();
    const std::string folder = programFile("screenshots");
    if (!folderExists(folder)) {
        createFolder(folder);
    }
    const std::string path = freshPath(folder);
    std::vector<std::uint32_t> pixels;
    try {
        pixels = video->readPixels();
    } catch (const platform::PlatformError& error) {
        std::cerr << "vastorim: " << path << ": " << error.what() << '\n';
        return;
    }
    state.writers.push_back(std::async(std::launch::async, [path, pixels = std::move(pixels)] {
        try {
            platform::savePng(path, platform::surfaceWidth, platform::surfaceHeight, pixels);
        } catch (const platform::PlatformError& error) {
            std::cerr << "vastorim: " << error.what() << '\n';
        }
    }));
}

void finishScreenshots() {
    for (std::future<void>& writer : state.writers) {
        writer.wait();
    }
    state = ScreenshotState{};
}

} // namespace vastorim
