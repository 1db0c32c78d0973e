#include "screens/menu_draw.h"

#include "engine/font.h"
#include "engine/game_setup.h"
#include "engine/music_clock.h"
#include "engine/startup.h"
#include "screens/high_scores.h"
#include "screens/menu_state.h"
#include "screens/score_text.h"

#include <cstdint>
#include <limits>

namespace vastorim {
namespace {

enum Align { left = 0, centred = 1, right = 2 };

constexpr int screenWidth = 1024;

void drawWhite(std::string_view text, int l, int t, int r, int b, Align align, double opacity) {
    drawText(text, l, t, r, b, align, packColour(textAlpha(opacity), 255, 255, 255));
}

// A sub-screen shows one more line per pulse; the count stops at the counter's limit, long after
// every line is shown.
void advanceReveal(bool pulse) {
    if (pulse && globals.screenStep < std::numeric_limits<std::int16_t>::max()) {
        ++globals.screenStep;
    }
}

struct RevealedLine {
    const char* text;
    int top;
    int bottom;
};

// Lines not yet revealed are held at opacity 0 so that each fades in once its pulse comes.
template <std::size_t N> void drawRevealedLines(const RevealedLine (&lines)[N], int l, int r) {
    for (std::size_t k = 0; k < N; ++k) {
        if (globals.screenStep > static_cast<int>(k)) {
            drawWhite(lines[k].text, l, lines[k].top, r, lines[k].bottom, left,
                      menu.itemBrightness[k]);
        } else {
            menu.itemBrightness[k] = 0;
        }
    }
}

void drawMainMenu() {
    setGameFontSize(36);
    drawWhite("Vastorim", 0, 180, screenWidth, 250, centred, 1.0);
    setGameFontSize(24);
    const char* items[] = {globals.gamePaused ? "Resume Game" : "Start Game", "High Scores",
                           "Instructions", "About", "Exit"};
    for (int i = 0; i < 5; ++i) {
        const int top = 250 + 50 * i;
        drawWhite(items[i], 0, top, screenWidth, top + 50, centred, menu.itemBrightness[i]);
    }
}

void drawHighScoreScreen() {
    if (!onlineEnabled) {
        drawWhite("Unable to connect to server", 0, 60, screenWidth, 110, centred, 1.0);
    } else {
        drawWhite("High Scores", 0, 60, screenWidth, 110, centred, 1.0);
        if (music.beatFlag) {
            advanceReveal(true);
            menu.itemBrightness[1] = 0.4f;
        }
        for (int i = 0; i < 10 && i < globals.screenStep; ++i) {
            const int top = 140 + 50 * i;
            const int bottom = top + 50;
            const double opacity = i == globals.screenStep - 1 ? menu.itemBrightness[1] : 1.0;
            drawWhite(tablePlaceText(i + 1), 300, top, 350, bottom, left, opacity);
            drawWhite(tableTimeText(highScores.highScoreTimes[i]), 400, top, 500, bottom, right,
                      opacity);
            drawWhite(highScores.highScoreNames[i], 600, top, 900, bottom, left, opacity);
        }
    }
    drawWhite("Back", 0, 700, screenWidth, 750, centred, menu.itemBrightness[0]);
}

void drawInstructions() {
    static constexpr RevealedLine lines[] = {
        {"Instructions", 100, 150},
        {"Use the arrow keys to move", 200, 250},
        {"Hold down spacebar to shoot", 250, 300},
        {"Destroy asteroids to reveal pickups", 350, 400},
        {"Fly over the blue clouds to upgrade", 400, 450},
        {"Survive as long as possible", 500, 550},
    };
    advanceReveal(music.beatFlag);
    drawRevealedLines(lines, 100, 800);
}

void drawAbout() {
    static const std::string title = aboutTitle();
    const RevealedLine lines[] = {
        {title.c_str(), 100, 150},
        {"(c) 2026 Vastorim", 150, 200},
        {"vastorim.example", 250, 300},
    };
    advanceReveal(music.fourBeatFlag);
    drawRevealedLines(lines, 100, 400);
}

} // namespace

std::string programVersion() {
    // The build numbers the minor version in tenths (1.10.26 is minor version 1 written as 10),
    // the form the about screen shows.
    return versionText(VASTORIM_VERSION_MAJOR, VASTORIM_VERSION_MINOR / 10, VASTORIM_VERSION_PATCH);
}

std::string aboutTitle() {
    return "Vastorim  " + programVersion();
}

void drawMenu() {
    switch (globals.menuScreen) {
    case 0:
        drawMainMenu();
        break;
    case 1:
        drawHighScoreScreen();
        break;
    case 2:
        drawInstructions();
        break;
    case 3:
        drawAbout();
        break;
    default:
        break;
    }
}

} // namespace vastorim
