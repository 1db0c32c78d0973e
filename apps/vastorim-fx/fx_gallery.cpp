#include "fx_commands.h"
#include "surface_scope.h"

#include "engine/app_path.h"
#include "engine/font.h"
#include "engine/numbers.h"
#include "engine/random.h"
#include "engine/renderer.h"
#include "engine/startup.h"
#include "engine/text_files.h"
#include "particles/emitter.h"
#include "platform/platform.h"
#include "platform/png_file.h"
#include "platform/text.h"
#include "platform/video.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <iostream>
#include <limits>
#include <memory>
#include <sstream>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace vastorim::fx {

namespace {

// Ages at which each effect is shown, in ascending order: just spawned, in full swing, and late
// (slow backdrops only reach their peak then).
const std::vector<double> kAges = {0.05, 0.3, 1};
constexpr double kFrameSeconds = 0.016;
constexpr int kEffectsPerRow = 2;
// A cell is a label strip over a picture with the surface's proportions.
constexpr int kCellWidth = 320;
constexpr int kCellHeight = 240;
constexpr int kLabelHeight = 18;
constexpr int kLabelPoints = 10;
constexpr int kGap = 4;
constexpr std::uint32_t kGapColour = 0xff303038u;
constexpr std::uint32_t kLabelColour = 0xffd8d8e0u;
// Small effects are enlarged at most this much, so that a shot still looks like a shot.
constexpr double kMostZoom = 2;
// Room left around the drawn particles, in surface pixels.
constexpr double kMargin = 12;
// A particle whose tint is fainter than this adds nothing worth framing.
constexpr double kFaintest = 8;

// Where each effect starts on the surface. The background's offsets spread it over the screen
// from the corner; shots fly along heading 0, to the right, so they start near the left edge
// and stay in view for their whole life; everything else starts at the centre.
std::pair<double, double> spawnPoint(const std::string& name) {
    const bool shot = name.rfind("weapon", 0) == 0 && name.find("_trail") == std::string::npos;
    if (name == "background.txt") {
        return {0, 0};
    }
    return {shot ? 96.0 : platform::surfaceWidth / 2.0, platform::surfaceHeight / 2.0};
}

std::vector<std::string> listedEffects(const std::string& dataFolder) {
    TextReader reader(dataFolder + "/effects/effect list.txt");
    std::vector<std::string> names;
    for (std::string line; reader.readLine(line) && line != "END";) {
        names.push_back(line);
    }
    return names;
}

struct Rect {
    double left = 0;
    double top = 0;
    double width = 0;
    double height = 0;
};

// The strongest channel the particle adds at its age, on the 0 to 255 scale.
double brightness(const Particle& particle) {
    const double t = particle.age;
    return std::max({particle.colourR.getValue(t), particle.colourG.getValue(t),
                     particle.colourB.getValue(t)}) *
           particle.colourA.getValue(t) / 255;
}

// The part of the surface that the emitter's visible particles cover, with a margin, widened to
// the cell's proportions and kept on the surface; the whole surface when nothing shows.
Rect framedRegion() {
    constexpr double inf = std::numeric_limits<double>::infinity();
    double left = inf, top = inf, right = -inf, bottom = -inf;
    for (std::int16_t i = 0; i < emitter.getParticles(); ++i) {
        const Particle* particle = emitter.getParticle(i);
        if (particle->killAt == -1 || brightness(*particle) < kFaintest) {
            continue;
        }
        const Sprite& sprite = particle->sprite;
        // Half the diagonal reaches every corner whatever the sprite's turn.
        const double reach = std::hypot(sprite.sizeX, sprite.sizeY) / 2 + kMargin;
        left = std::min(left, sprite.x - reach);
        right = std::max(right, sprite.x + reach);
        top = std::min(top, sprite.y - reach);
        bottom = std::max(bottom, sprite.y + reach);
    }
    constexpr double surfaceWidth = platform::surfaceWidth;
    constexpr double surfaceHeight = platform::surfaceHeight;
    if (!(left < right)) {
        return {0, 0, surfaceWidth, surfaceHeight};
    }
    constexpr double aspect = static_cast<double>(kCellHeight) / kCellWidth;
    const double width = std::min(
        surfaceWidth, std::max({right - left, (bottom - top) / aspect, kCellWidth / kMostZoom}));
    const double height = width * aspect;
    return {std::clamp((left + right - width) / 2, 0.0, surfaceWidth - width),
            std::clamp((top + bottom - height) / 2, 0.0, surfaceHeight - height), width, height};
}

// Scales a region of the surface into a rectangle of the sheet, averaging enough samples per
// sheet pixel that small bright particles survive a shrink.
void place(const std::vector<std::uint32_t>& surface, const Rect& from, platform::Picture& sheet,
           int left, int top, int width, int height) {
    const double scale = from.width / width;
    const int samples = std::max(1, static_cast<int>(std::ceil(scale)));
    const auto pixelAt = [&](double x, double y) {
        const int px = std::clamp(static_cast<int>(x), 0, platform::surfaceWidth - 1);
        const int py = std::clamp(static_cast<int>(y), 0, platform::surfaceHeight - 1);
        return surface[static_cast<std::size_t>(py) * platform::surfaceWidth +
                       static_cast<std::size_t>(px)];
    };
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            unsigned sum[3] = {0, 0, 0};
            for (int sy = 0; sy < samples; ++sy) {
                for (int sx = 0; sx < samples; ++sx) {
                    const std::uint32_t p = pixelAt(from.left + (x + (sx + 0.5) / samples) * scale,
                                                    from.top + (y + (sy + 0.5) / samples) * scale);
                    sum[0] += (p >> 16) & 0xff;
                    sum[1] += (p >> 8) & 0xff;
                    sum[2] += p & 0xff;
                }
            }
            const auto n = static_cast<unsigned>(samples * samples);
            sheet.pixels[static_cast<std::size_t>(top + y) * sheet.width +
                         static_cast<std::size_t>(left + x)] =
                0xff000000u | (sum[0] / n) << 16 | (sum[1] / n) << 8 | (sum[2] / n);
        }
    }
}

std::string cellLabel(const std::string& name, double age, double zoom) {
    std::ostringstream label;
    label.precision(2);
    label << name << "  " << numberToText(age) << " s  x" << zoom;
    return label.str();
}

// The renders go through the engine as the game's do, on one offscreen surface, with the
// platform's text for the labels.
class GallerySurface {
  public:
    explicit GallerySurface(const std::string& dataFolder) {
        setAppPath(dataFolder);
        resetGlobalState();
        globals.frameTime = static_cast<float>(kFrameSeconds);
        platform_.video = platform::createOffscreenVideo();
        platform_.text = platform::createTextRenderer(*platform_.video);
        surface_ = std::make_unique<SurfaceScope>(platform_);
        installFont(programFile("graphics/grapple.ttf"));
        setGameFontSize(kLabelPoints);
        hooks = EngineHooks();
    }
    ~GallerySurface() {
        hooks = EngineHooks();
        emitter.initialize();
        surface_.reset();
    }
    GallerySurface(const GallerySurface&) = delete;
    GallerySurface& operator=(const GallerySurface&) = delete;

    std::vector<std::uint32_t> particles() {
        hooks.drawParticles = [] { emitter.render(); };
        renderFrame();
        return platform_.video->readPixels();
    }

    std::vector<std::uint32_t> label(const std::string& text) {
        hooks.drawParticles = [&text] {
            drawText(text, 0, 0, kCellWidth, kLabelHeight, 0, kLabelColour);
        };
        renderFrame();
        return platform_.video->readPixels();
    }

  private:
    platform::Platform platform_;
    std::unique_ptr<SurfaceScope> surface_;
};

} // namespace

int galleryCommand(const std::vector<std::string>& args) {
    std::vector<std::string> rest = args;
    std::string dataFolder;
    std::string out;
    if (!takeOption(rest, "--data", dataFolder) || !takeOption(rest, "--out", out)) {
        throw std::invalid_argument("gallery needs --data and --out");
    }
    if (!rest.empty()) {
        throw std::invalid_argument("gallery takes no other words: " + rest[0]);
    }
    const std::vector<std::string> names = listedEffects(dataFolder);
    if (names.empty()) {
        throw std::runtime_error(dataFolder + "/effects/effect list.txt lists no effect");
    }

    const int columns = kEffectsPerRow * static_cast<int>(kAges.size());
    const int rows = (static_cast<int>(names.size()) + kEffectsPerRow - 1) / kEffectsPerRow;
    platform::Picture sheet;
    sheet.width = columns * (kCellWidth + kGap) + kGap;
    sheet.height = rows * (kLabelHeight + kCellHeight + kGap) + kGap;
    sheet.pixels.assign(static_cast<std::size_t>(sheet.width) * sheet.height, kGapColour);

    GallerySurface surface(dataFolder);
    for (std::size_t i = 0; i < names.size(); ++i) {
        const auto spawn = spawnPoint(names[i]);
        const int row = static_cast<int>(i) / kEffectsPerRow;
        const int top = kGap + row * (kLabelHeight + kCellHeight + kGap);
        // One spawn per effect, with the same draws on every run, aged through the ages in turn.
        seedRandom(1);
        emitter.initialize();
        emitter.addEffect(dataFolder + "/effects/" + names[i]);
        emitter.spawnEffect(spawn.first, spawn.second, "", 0);
        long framesDone = 0;
        for (std::size_t a = 0; a < kAges.size(); ++a) {
            const auto frames = static_cast<long>(std::ceil(kAges[a] / kFrameSeconds - 1e-9));
            for (; framesDone < frames; ++framesDone) {
                emitter.update();
            }
            const Rect region = framedRegion();
            const int left =
                kGap + (static_cast<int>(i) % kEffectsPerRow * static_cast<int>(kAges.size()) +
                        static_cast<int>(a)) *
                           (kCellWidth + kGap);
            place(surface.particles(), region, sheet, left, top + kLabelHeight, kCellWidth,
                  kCellHeight);
            place(surface.label(cellLabel(names[i], kAges[a], kCellWidth / region.width)),
                  {0, 0, kCellWidth, kLabelHeight}, sheet, left, top, kCellWidth, kLabelHeight);
        }
        std::cout << "row " << row + 1 << (i % kEffectsPerRow == 0 ? ", left: " : ", right: ")
                  << names[i] << '\n';
    }
    std::string error;
    if (!platform::writePicture(out, sheet, error)) {
        throw std::runtime_error(error);
    }
    std::cout << out << ": " << names.size() << " effects at " << numberToText(kAges.front())
              << ", " << numberToText(kAges[1]) << " and " << numberToText(kAges.back())
              << " s, each framed around what it draws\n";
    return 0;
}

} // namespace vastorim::fx
