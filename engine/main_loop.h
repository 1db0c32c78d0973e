#pragma once

namespace vastorim {

// Runs frames until gameRunning is false: the results of finished background jobs (waited for
// on a platform that finishes requests each frame), tick, game clock, frameTime, the emitter and
// the mode's update, the frame, then the pending events.
void mainLoop();

// Hands every pending event to the key hooks: keys after the window's own (F11, Alt+Return,
// F12), pads as the keys they stand for (hooks.padKeys), the loss of focus to hooks.focusLost.
// A close request clears gameRunning so the loop ends after its current iteration.
void processPendingEvents();

} // namespace vastorim
