#include "engine/font.h"

#include "engine/platform_access.h"
#include "engine/renderer.h"
#include "engine/startup.h"
#include "platform/platform.h"
#include "platform/text.h"

#include <algorithm>

namespace vastorim {

namespace {

constexpr int gameFontPoints = 24;

platform::TextRenderer* textRenderer() {
    platform::Platform* running = currentPlatform();
    return running != nullptr ? running->text.get() : nullptr;
}

platform::TextAlign alignment(int format) {
    switch (format) {
    case 1:
        return platform::TextAlign::Centre;
    case 2:
        return platform::TextAlign::Right;
    default:
        return platform::TextAlign::Left;
    }
}

} // namespace

int installFont(const std::string& path) {
    platform::TextRenderer* text = textRenderer();
    return text != nullptr && text->setFace(path) ? 1 : 0;
}

void createGameFont() {
    setGameFontSize(gameFontPoints);
    globals.playerName = "player";
}

void setGameFontSize(int points) {
    if (platform::TextRenderer* text = textRenderer()) {
        text->setPointSize(points);
    }
}

void drawText(std::string_view text, int left, int top, int right, int bottom, int format,
              std::uint32_t argb) {
    platform::TextRenderer* renderer = textRenderer();
    if (renderer == nullptr) {
        return;
    }
    flushSprites();
    const platform::TextBox covered =
        renderer->drawText(text, {left, top, right, bottom}, alignment(format), argb).covered;
    markDrawn(covered.left, covered.top, covered.right, covered.bottom);
}

std::uint32_t packColour(int a, int r, int g, int b) {
    const auto part = [](int value, int shift) {
        return static_cast<std::uint32_t>(std::clamp(value, 0, 255)) << shift;
    };
    return part(a, 24) | part(r, 16) | part(g, 8) | part(b, 0);
}

} // namespace vastorim
