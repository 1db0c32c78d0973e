#include "fx_commands.h"
#include "surface_scope.h"

#include "engine/app_path.h"
#include "engine/font.h"
#include "engine/random.h"
#include "engine/startup.h"
#include "particles/effect_preview.h"
#include "platform/clock.h"
#include "platform/events.h"
#include "platform/platform.h"
#include "platform/text.h"
#include "platform/video.h"

#include <chrono>
#include <filesystem>
#include <iostream>
#include <stdexcept>
#include <thread>

namespace vastorim::fx {

namespace {

// Without vsync the loop would spin; about sixty frames a second are plenty to look at.
constexpr std::int64_t kFrameMs = 16;

} // namespace

int previewCommand(const std::vector<std::string>& args) {
    std::vector<std::string> rest = args;
    std::string dataFolder = requiredOption(rest, "--data");
    if (rest.size() != 1) {
        throw std::invalid_argument("preview takes one effect file");
    }
    const std::string file = rest[0];

    setAppPath(dataFolder);
    resetGlobalState();
    seedRandomFromClock();
    // The real window, clock and events; no audio device, since an effect makes no sound.
    platform::Platform platform;
    platform.video = platform::createWindowVideo(
        false, "vastorim-fx preview: " + std::filesystem::path(file).filename().string());
    platform.clock = platform::createRealClock();
    platform.events = platform::createWindowEvents();
    platform.text = platform::createTextRenderer(*platform.video);
    SurfaceScope surface(platform);
    installFont(programFile("graphics/grapple.ttf"));
    platform.video->show();

    std::cout << file
              << ": space spawns at the centre, a click where it is, Escape quits; "
                 "saving the file shows the new version\n";
    EffectPreview preview(
        file, [file] { return fileStampOf(file); }, std::cerr);
    preview.start(platform.clock->ticks());
    std::int64_t frameStart = platform.clock->ticks();
    while (preview.runFrame(platform)) {
        std::int64_t spent = platform.clock->ticks() - frameStart;
        if (spent < kFrameMs) {
            std::this_thread::sleep_for(std::chrono::milliseconds(kFrameMs - spent));
        }
        frameStart = platform.clock->ticks();
    }
    return 0;
}

} // namespace vastorim::fx
