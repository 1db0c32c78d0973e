// Text drawn every frame, as the menus and the in-game display do: the cached path against
// rasterising every string anew.
#include "platform/text.h"
#include "platform/video.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

using namespace vastorim::platform;

void drawMenu(TextRenderer& text, const std::string& clock) {
    text.setPointSize(36);
    text.drawText("Vastorim", {0, 60, 1024, 160}, TextAlign::Centre, 0xffffffff);
    text.setPointSize(24);
    text.drawText("Start Game\r\nHigh Scores\r\nInstructions\r\nAbout\r\nExit", {0, 250, 1024, 600},
                  TextAlign::Centre, 0xc0ffffff);
    text.drawText(clock, {0, 0, 1014, 40}, TextAlign::Right, 0xffffffff);
}

void BM_MenuTextCached(benchmark::State& state) {
    auto video = createOffscreenVideo();
    video->open();
    auto text = createTextRenderer(*video);
    for (auto _ : state) {
        drawMenu(*text, "12.34");
    }
    state.counters["rasterised"] = static_cast<double>(text->stats().rasterisedLines);
}
BENCHMARK(BM_MenuTextCached);

// A clock that changes every frame: one new line rasterised per frame.
void BM_MenuTextWithChangingClock(benchmark::State& state) {
    auto video = createOffscreenVideo();
    video->open();
    auto text = createTextRenderer(*video);
    int frame = 0;
    for (auto _ : state) {
        drawMenu(*text, std::to_string(++frame));
    }
}
BENCHMARK(BM_MenuTextWithChangingClock);

} // namespace
