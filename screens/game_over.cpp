#include "screens/game_over.h"

#include "engine/game_setup.h"
#include "engine/music_clock.h"
#include "engine/startup.h"
#include "screens/high_scores.h"

#include <algorithm>
#include <cctype>

namespace vastorim {

GameOverState gameOver;

void resetGameOver() {
    gameOver = GameOverState{};
}

bool editPlayerName(std::string& name, int keyCode) {
    constexpr int backspace = 8, returnKey = 13, space = 32;
    if (keyCode == backspace && !name.empty()) {
        name.pop_back();
    } else if (keyCode > '0' && keyCode <= 'Z') {
        name.push_back(static_cast<char>(keyCode));
    } else if (keyCode == space) {
        name.push_back(' ');
    }
    if (name.size() > maxNameLength) {
        name.resize(maxNameLength);
    }
    return keyCode == returnKey && !name.empty() && name != "player";
}

void submitScore() {
    if (!onlineEnabled || globals.playerName.empty()) {
        return;
    }
    std::transform(globals.playerName.begin(), globals.playerName.end(), globals.playerName.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    // Escape during play pauses a game that has no time yet: nothing to send.
    if (globals.finalTime != 0) {
        sendScore();
    }
}

void enterNameKey(int keyCode) {
    if (!editPlayerName(globals.playerName, keyCode)) {
        return;
    }
    // Events are handled once per loop iteration only, so nothing is pumped between these steps.
    submitScore();
    globals.gameMode = 0;
    globals.menuScreen = 1;
    globals.screenStep = 0;
    globals.gamePaused = false;
    globals.globalFade = 1.0f;
    restartMusic();
    fetchHighScores();
}

} // namespace vastorim
