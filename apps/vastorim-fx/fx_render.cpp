#include "fx_commands.h"
#include "surface_scope.h"

#include "engine/app_path.h"
#include "engine/numbers.h"
#include "engine/random.h"
#include "engine/renderer.h"
#include "engine/startup.h"
#include "particles/emitter.h"
#include "platform/platform.h"
#include "platform/video.h"

#include <cmath>
#include <iostream>
#include <stdexcept>

namespace vastorim::fx {

namespace {

double numberOption(std::vector<std::string>& args, const std::string& name, double fallback) {
    std::string text;
    if (!takeOption(args, name, text)) {
        return fallback;
    }
    auto value = textToNumber(text);
    if (!value || !std::isfinite(*value)) {
        throw std::invalid_argument(name + " " + text + " is not a number");
    }
    return *value;
}

} // namespace

int renderCommand(const std::vector<std::string>& args) {
    std::vector<std::string> rest = args;
    std::string dataFolder = requiredOption(rest, "--data");
    std::string out = requiredOption(rest, "--out");
    double at = numberOption(rest, "--at", 0.5);
    double x = numberOption(rest, "--x", platform::surfaceWidth / 2.0);
    double y = numberOption(rest, "--y", platform::surfaceHeight / 2.0);
    const std::uint64_t rng = rngOption(rest).value_or(1);
    double frameMs = numberOption(rest, "--frame-ms", 16);
    if (rest.size() != 1) {
        throw std::invalid_argument("render takes one effect file");
    }
    if (!(frameMs > 0) || at < 0) {
        throw std::invalid_argument("--frame-ms must be above 0, --at not below 0");
    }

    setAppPath(dataFolder);
    seedRandom(rng);
    resetGlobalState();
    globals.frameTime = static_cast<float>(frameMs / 1000);
    platform::Platform platform;
    platform.video = platform::createOffscreenVideo();
    SurfaceScope surface(platform);
    emitter.initialize();
    emitter.addEffect(rest[0]);
    hooks = EngineHooks();
    hooks.drawParticles = [] { emitter.render(); };

    emitter.spawnEffect(x, y, "", 0);
    // Each frame ages the particles by one step, as the game's loop does before drawing.
    auto frames = static_cast<long>(std::ceil(at * 1000 / frameMs - 1e-9));
    for (long frame = 0; frame < frames; ++frame) {
        emitter.update();
    }
    renderFrame();
    platform.video->saveScreenshot(out);
    std::cout << out << ": " << emitter.getParticles() << " particle slots after " << frames
              << " frames of " << numberToText(frameMs) << " ms, " << drawCallsLastFrame()
              << " draw calls\n";
    hooks = EngineHooks();
    emitter.initialize();
    return 0;
}

} // namespace vastorim::fx
