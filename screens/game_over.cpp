#include "screens/game_over.h"

#include "engine/game_setup.h"
#include "engine/music_clock.h"
#include "engine/startup.h"
#include "screens/game_replays.h"
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

namespace {

std::string upperCased(std::string name) {
    std::transform(name.begin(), name.end(), name.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return name;
}

} // namespace

void submitScore() {
    // Escape during play pauses a game that has no time yet: nothing to send.
    const bool timed = globals.finalTime != 0 && !globals.playerName.empty();
    if (timed) {
        cutGameReplay(upperCased(globals.playerName), globals.finalTime);
    }
    if (!onlineEnabled || globals.playerName.empty()) {
        return;
    }
    globals.playerName = upperCased(globals.playerName);
    if (timed) {
        sendScore();
        uploadGameReplay();
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
