#include "screens/game_hud.h"

#include "engine/font.h"
#include "engine/startup.h"
#include "game/world.h"
#include "game/world_tables.h"
#include "screens/game_over.h"
#include "screens/high_scores.h"
#include "screens/score_text.h"

namespace vastorim {
namespace {

constexpr int screenWidth = 1024, screenHeight = 768;

std::uint32_t white(double opacity) {
    return packColour(textAlpha(opacity), 255, 255, 255);
}

void drawGameOverText() {
    const std::uint32_t colour = white(1.0 - globals.globalFade);
    const std::string finalText = timeText(globals.finalTime);
    if (placingFinalTime()) {
        drawText(finalText + "\r\n" + std::string(waitingForTableText), 0, 300, screenWidth,
                 screenHeight, 1, colour);
        return;
    }
    if (world.scorePlace == -1) {
        drawText("Game Over\r\n" + finalText, 0, 300, screenWidth, screenHeight, 1, colour);
        return;
    }
    drawText("High Score\r\n" + ordinalText(world.scorePlace) + "\r\n" + finalText, 0, 250,
             screenWidth, screenHeight, 1, colour);
    gameOver.cursorBlink += globals.frameTime;
    if (gameOver.cursorBlink > 1.0f) {
        gameOver.cursorBlink = 0;
    }
    drawText(globals.playerName + cursorText(globals.playerName, gameOver.cursorBlink), 0, 400,
             screenWidth, screenHeight, 1, colour);
}

} // namespace

std::string cursorText(const std::string& name, float blinkPhase) {
    if (name.size() >= maxNameLength) {
        return "";
    }
    return blinkPhase < 0.5f ? "_" : " ";
}

void drawShots() {
    for (int i = 0; i <= world.lastShot; ++i) {
        if (world.shots[i].owner != kFreeSlot) {
            world.shots[i].particle.render();
        }
    }
}

void drawAsteroids() {
    for (int i = 0; i <= world.lastAsteroid; ++i) {
        if (world.asteroids[i].size != kFreeSlot) {
            world.asteroids[i].particle.render();
        }
    }
}

void drawShips() {
    for (Ship& ship : world.ships) {
        ship.particle.render();
    }
}

void drawWorld() {
    drawShots();
    drawAsteroids();
    drawShips();
}

void drawHud() {
    if (globals.globalFade != 0.0f) {
        drawText(timeText(elapsedGameTime()), 20, 724, 200, 768, 0, white(globals.globalFade));
    }
    if (globals.globalFade != 1.0f) {
        drawGameOverText();
    }
}

} // namespace vastorim
