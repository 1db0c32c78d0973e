#pragma once

namespace vastorim {

// The keys the window answers itself, whatever the game shows: F11 and Alt+Return switch
// between the window and desktop full screen, F12 saves a screenshot. A held key acts once.

// True when the key was one of them: the game does not see it.
bool windowKeyDown(int keyCode);
void windowKeyUp(int keyCode);

// None counts as held: keys released while another window has the focus are never reported
// (and the start-up state).
void releaseWindowKeys();

} // namespace vastorim
