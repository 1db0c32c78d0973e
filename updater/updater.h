#pragma once

#include "platform/update_window.h"
#include "updater/consent.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

// The updater: before the game, it asks once for consent to use the network, compares the
// installed version with the server's version list, downloads the files of every newer version
// into a staging folder, checks them, installs them with the new version, and hands over to the
// launcher "patch.dat", which starts the game with "run".
namespace vastorim {

// What the updater asks of the platform; tests put their own in.
struct UpdaterServices {
    YesNoQuestion ask;
    // The window for the look, or nothing where none can open.
    std::function<std::unique_ptr<platform::UpdateWindow>(const platform::UpdateWindowLook&)>
        openWindow;
    // Starts a program of the program folder with these arguments, working there, and does not
    // wait; false, and why in `problem`, when it cannot.
    std::function<bool(const std::string& program, const std::vector<std::string>& arguments,
                       std::string& problem)>
        startProgram;
    // Told how many files have moved into place so far (tests stop an install there).
    std::function<void(int moved)> afterEachMove;
};

// The question box, a window on the display, and processes started detached.
UpdaterServices platformUpdaterServices();

// Runs the updater for this command line (the arguments joined by single spaces) and gives the
// program's exit status: the program ends when this returns, the launcher having been started.
int runUpdater(const std::string& commandLine, const UpdaterServices& services);

} // namespace vastorim
