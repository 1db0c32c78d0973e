#include "updater/update_log.h"

#include "engine/app_path.h"
#include "platform/replaced_files.h"
#include "updater/updater_state.h"

#include <ctime>
#include <iomanip>
#include <iostream>
#include <locale>
#include <sstream>

namespace vastorim {
namespace {

std::locale usersLocale() {
    try {
        return std::locale("");
    } catch (const std::runtime_error&) {
        return std::locale::classic(); // the environment names a locale the system lacks
    }
}

// The whole log goes to a temporary and is renamed into place, so a log cut short by a crash
// still ends with a whole line.
void saveLog() {
    std::string problem;
    if (!platform::replaceFile(programFile("client_log.txt"), updater.logText, platform::Flush::no,
                               problem)) {
        std::cerr << "vastorim: the client log cannot be written: " << problem << '\n';
    }
}

} // namespace

void clearLog() {
    if (updater.logEnabled) {
        updater.logText.clear();
        saveLog();
    }
}

void writeLog(const std::string& message) {
    if (!updater.logEnabled) {
        return;
    }
    const std::time_t now = std::time(nullptr);
    std::ostringstream line;
    line.imbue(usersLocale());
    line << std::put_time(std::localtime(&now), "%x %X") << " - " << message << "\r\n";
    updater.logText += line.str();
    saveLog();
}

} // namespace vastorim
