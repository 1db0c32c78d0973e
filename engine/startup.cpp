#include "engine/startup.h"

#include "engine/app_path.h"
#include "engine/background_jobs.h"
#include "engine/errors.h"
#include "engine/font.h"
#include "engine/game_setup.h"
#include "engine/main_loop.h"
#include "engine/music_clock.h"
#include "engine/platform_access.h"
#include "engine/random.h"
#include "engine/renderer.h"
#include "engine/run_inputs.h"
#include "engine/screenshots.h"
#include "engine/textures.h"
#include "engine/window_keys.h"
#include "platform/error_box.h"
#include "platform/platform.h"
#include "platform/video.h"

#include <exception>
#include <iostream>

namespace vastorim {

GlobalState globals;
EngineHooks hooks;

void callHook(const std::function<void()>& hook) {
    if (hook) {
        hook();
    }
}

namespace {

// Thrown by endProgramNow and caught only by Main; deliberately not a std::exception, so no
// handler for errors can stop it on its way out.
struct ProgramEnd {};

void startUp(platform::Platform& platform) {
    initGlobals();
    beginRunInputs();
    loadGameSetup();
    platform.video->setFullScreen(fullScreen);
    initRenderer(*platform.video);
    platform.video->setIcon(programFile("graphics/icon.png"));
    initSound();
    resetTextureList();
    callHook(hooks.fetchHighScores);
    showGameWindow();
    loadResourceList();
    callHook(hooks.loadContent);
    createGameFont();
    callHook(hooks.resetMenuItems);
    restartMusic();
}

void report(const std::string& message, const platform::Platform& platform) {
    std::cerr << "vastorim: " << message << '\n';
    if (!platform.headless) {
        platform::showErrorBox(message);
    }
}

// Forgets the platform objects (they belong to the caller); the music track made on its audio
// device goes with them.
struct PlatformScope {
    explicit PlatformScope(platform::Platform& platform) { setCurrentPlatform(&platform); }
    ~PlatformScope() {
        shutdownSound();
        setCurrentVideo(nullptr);
        setCurrentPlatform(nullptr);
    }
};

// Background jobs end with the run. The game stops them at once, so quitting never waits for a
// server; a platform that finishes requests each frame lets the last ones finish too, so every
// request a headless run made has reached its server when the run ends.
struct BackgroundJobsScope {
    explicit BackgroundJobsScope(bool finish) : finish(finish) {}
    ~BackgroundJobsScope() {
        if (finish) {
            waitForBackgroundJobs();
        }
        stopBackgroundJobs();
    }
    bool finish;
};

// The next run records afresh, or plays its own replay.
struct RunInputsScope {
    ~RunInputsScope() { endRunInputs(); }
};

// Screenshots still being written are finished whichever way the run ends.
struct ScreenshotsScope {
    ~ScreenshotsScope() { finishScreenshots(); }
};

} // namespace

void resetGlobalState() {
    globals = GlobalState{};
}

void initGlobals() {
    seedRandomFromClock();
    globals.gameMode = 0;
    globals.menuScreen = 0;
    globals.gameRunning = true;
}

bool isDevelopmentRun() {
    return VASTORIM_DEVELOPMENT_RUN != 0;
}

std::string joinedCommandLine(const std::vector<std::string>& arguments) {
    std::string joined;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        joined += (i > 0 ? " " : "") + arguments[i];
    }
    return joined;
}

bool updaterRuns(const std::string& commandLine) {
    return commandLine != "run" && !isDevelopmentRun();
}

int Main(const std::vector<std::string>& commandLine, platform::Platform& platform) {
    (void)commandLine; // see updaterRuns: the updater has had its turn by now
    PlatformScope scope(platform);
    RunInputsScope inputs; // after the last requests: a replay's never reach the network
    BackgroundJobsScope jobs(platform.finishRequestsEachFrame);
    ScreenshotsScope screenshots;
    try {
        resetGlobalState();
        resetRenderState();
        resetMusicClock();
        resetPadKeys();
        releaseWindowKeys();
        startUp(platform);
        mainLoop();
        shutdownRenderer();
        return 0;
    } catch (const ProgramEnd&) {
        return 0;
    } catch (const std::exception& error) {
        report(error.what(), platform);
        return 1;
    }
}

void endProgramNow() {
    throw ProgramEnd{};
}

} // namespace vastorim
