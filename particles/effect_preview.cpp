#include "particles/effect_preview.h"

#include "engine/errors.h"
#include "engine/font.h"
#include "engine/renderer.h"
#include "engine/startup.h"
#include "particles/emitter.h"
#include "platform/clock.h"
#include "platform/events.h"
#include "platform/platform.h"
#include "platform/video.h"

#include <filesystem>
#include <ostream>

namespace vastorim {

namespace {

constexpr int kEscape = 27;
constexpr int kSpace = 32;
constexpr int kErrorPoints = 14;
constexpr int kCaptionPoints = 12;
constexpr int kCaptionHeight = 24;

// The file on its own line, then where in it and what is wrong: long paths stay readable.
std::string errorText(const DataError& error) {
    std::string where = error.line() > 0 ? "line " + std::to_string(error.line()) : "";
    if (!error.field().empty()) {
        where += (where.empty() ? "" : ", ") + error.field();
    }
    return error.file() + "\r\n" + (where.empty() ? "" : where + ": ") + error.message();
}

} // namespace

FileStamp fileStampOf(const std::string& path) {
    std::error_code error;
    auto modified = std::filesystem::last_write_time(path, error);
    if (error) {
        return {};
    }
    auto size = std::filesystem::file_size(path, error);
    return {true, modified.time_since_epoch().count(), error ? 0 : size};
}

EffectPreview::EffectPreview(std::string path, StampSource stamp, std::ostream& errorLog)
    : path_(std::move(path)), stamp_(std::move(stamp)), errorLog_(errorLog) {
    hooks = EngineHooks();
    hooks.drawParticles = [this] { draw(); };
    emitter.initialize();
}

EffectPreview::~EffectPreview() {
    hooks = EngineHooks();
    emitter.initialize();
}

void EffectPreview::start(std::int64_t nowMs) {
    lastFrame_ = nowMs;
    lastCheck_ = nowMs;
    seen_ = stamp_();
    load();
}

bool EffectPreview::runFrame(platform::Platform& platform) {
    std::int64_t now = platform.clock->ticks();
    globals.frameTime = static_cast<float>((now - lastFrame_) * 0.001);
    lastFrame_ = now;
    events_.clear();
    platform.events->poll(events_);
    for (const platform::Event& event : events_) {
        if (!handle(event)) {
            return false;
        }
    }
    checkFile(now);
    emitter.update();
    renderFrame();
    platform.clock->frameEnded();
    return true;
}

bool EffectPreview::handle(const platform::Event& event) {
    switch (event.type) {
    case platform::Event::Type::Close:
        return false;
    case platform::Event::Type::KeyDown:
        if (event.keyCode == kEscape) {
            return false;
        }
        if (event.keyCode == kSpace) {
            spawn(platform::surfaceWidth / 2.0, platform::surfaceHeight / 2.0);
        }
        return true;
    case platform::Event::Type::Click:
        spawn(event.x, event.y);
        return true;
    default:
        return true; // key releases, pads and focus change nothing here
    }
}

void EffectPreview::checkFile(std::int64_t nowMs) {
    if (nowMs - lastCheck_ < kCheckIntervalMs) {
        return;
    }
    lastCheck_ = nowMs;
    FileStamp now = stamp_();
    if (now != seen_) {
        seen_ = now;
        load();
    }
}

void EffectPreview::load() {
    // Read into a spare effect first: a broken file must not take the shown version away.
    try {
        Effect candidate;
        candidate.loadEffect(path_);
        emitter.initialize();
        emitter.addEffect(path_);
    } catch (const DataError& failure) {
        error_ = errorText(failure);
        errorLog_ << failure.what() << '\n';
        return;
    }
    loaded_ = true;
    error_.clear();
    spawn(platform::surfaceWidth / 2.0, platform::surfaceHeight / 2.0);
}

void EffectPreview::spawn(double x, double y) {
    if (loaded_) {
        emitter.spawnEffect(x, y);
    }
}

void EffectPreview::draw() const {
    emitter.render();
    setGameFontSize(kCaptionPoints);
    const int captionTop = platform::surfaceHeight - kCaptionHeight;
    const std::uint32_t grey = packColour(255, 160, 160, 160);
    drawText(std::filesystem::path(path_).filename().string(), 16, captionTop,
             platform::surfaceWidth / 2, platform::surfaceHeight, 0, grey);
    drawText("space: spawn at the centre   click: spawn there   Escape: quit",
             platform::surfaceWidth / 2, captionTop, platform::surfaceWidth - 16,
             platform::surfaceHeight, 2, grey);
    if (!error_.empty()) {
        setGameFontSize(kErrorPoints);
        drawText(error_, 16, 16, platform::surfaceWidth - 16, platform::surfaceHeight - 16, 0,
                 packColour(255, 255, 112, 96));
    }
}

} // namespace vastorim
