#pragma once

#include "engine/pad_keys.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace vastorim {

namespace platform {
struct Platform;
}

// The shared state that says what the program is doing, with its start-up values.
struct GlobalState {
    bool gameRunning = false;
    float frameTime = 0;
    std::int16_t gameMode = 0; // 0 menu, 1 playing
    std::int16_t menuScreen = 0;
    std::int16_t menuCursor = 0;
    std::int16_t screenStep = 0;
    bool gamePaused = false;
    float globalFade = 1;
    std::int32_t gameStartTick = 0;
    std::int32_t gameClockTick = 0;
    std::int32_t pauseTick = 0;
    std::int32_t finalTime = 0;
    std::string playerName;
};

extern GlobalState globals;

// Puts the global state back to its start-up values (tests and headless runs start clean).
void resetGlobalState();

// Seeds the generator from the clock, menu mode, main menu, gameRunning true.
void initGlobals();

// True only in a development build (the VASTORIM_DEVELOPMENT build option).
bool isDevelopmentRun();

// The command line as one text: the arguments joined by single spaces.
std::string joinedCommandLine(const std::vector<std::string>& arguments);

// The first step of start-up: every command line but exactly "run" (case-sensitive) hands over to
// the updater, except in a development run.
bool updaterRuns(const std::string& commandLine);

// What the layers above the engine plug into start-up, the loop and the frame. Each is optional;
// an empty hook does nothing.
struct EngineHooks {
    std::function<void()> fetchHighScores; // start-up, once the setup file is read
    std::function<void()> loadContent;     // effects, players, world tables
    std::function<void()> resetMenuItems;
    std::function<void()> updateEmitter; // every frame, every mode
    std::function<void()> updateMode;    // menu or world update, by gameMode
    std::function<void()> drawMode;      // menu or world drawing, by gameMode
    std::function<void()> drawParticles; // the emitter's particles, on top
    std::function<void(int keyCode)> keyDown;
    std::function<void(int keyCode)> keyUp;
    std::function<PadKeyCodes(int player)> padKeys; // what a player's pad presses just now
    std::function<void()> focusLost;                // the window lost the keyboard focus
    std::function<void(const std::string& effectName)> spawnWaveAsteroid; // music loop waves
    std::function<void()> afterUpdate;                                    // headless runs: trace
    std::function<void()> afterFrame; // headless runs: screenshots, frame count
};

extern EngineHooks hooks;

void callHook(const std::function<void()>& hook); // an empty hook does nothing

// The game on this platform: start-up, the loop and shutdown. The program's entry has already
// handed any command line for which updaterRuns holds to the updater, before making a platform
// (the updater needs no window, sound or content); the game is started with "run". Returns the
// process exit status; errors in data files are reported (message box, or stderr when headless)
// and give a non-zero status.
int Main(const std::vector<std::string>& commandLine, platform::Platform& platform);

// Ends the program at once (the menu's exit item, Escape on the main menu): the loop stops where
// it is and shutdown is skipped.
[[noreturn]] void endProgramNow();

} // namespace vastorim
