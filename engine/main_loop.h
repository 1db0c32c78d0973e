#pragma once

namespace vastorim {

// Runs frames until gameRunning is false: the results of finished background jobs (waited for
// on a platform that finishes requests each frame), tick, game clock, frameTime, the emitter and
// the mode's update, the frame, then the pending events. The tick, the music position and the
// keys come through the run's inputs (run_inputs.h), recorded or replayed.
void mainLoop();

// Hands every pending event to the key hooks: keys after the window's own (F11, Alt+Return,
// F12), pads as the keys they stand for (hooks.padKeys), the loss of focus to hooks.focusLost.
// A close request clears gameRunning so the loop ends after its current iteration. While a
// replay plays, its own events for the frame go to the hooks instead of the window's.
void processPendingEvents();

} // namespace vastorim
