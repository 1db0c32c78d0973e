#include "updater/consent.h"

#include "engine/app_path.h"
#include "engine/game_setup.h"
#include "engine/text_files.h"
#include "platform/replaced_files.h"
#include "updater/updater_state.h"

#include <cstdlib>
#include <string_view>

namespace vastorim {
namespace {

bool answer(const YesNoQuestion& ask) {
    if (const std::optional<bool> answered = ask(kConsentTitle, kConsentText)) {
        return *answered;
    }
    const char* fromEnvironment = std::getenv("VASTORIM_CONSENT");
    return fromEnvironment != nullptr && std::string_view(fromEnvironment) == "yes";
}

// Full screen, no hit sparks, the consent, one player on the arrow keys and space.
void writeDefaultSetup(const std::string& path, bool consent) {
    std::string text;
    for (const char* line : {"true", "false", consent ? "true" : "false", "1", "up", "down", "left",
                             "right", "space"}) {
        text += std::string(line) + "\r\n";
    }
    std::string problem;
    if (!platform::replaceFile(path, text, platform::Flush::toDisk, problem)) {
        throw UpdateProblem("the setup file cannot be written : " + problem);
    }
}

} // namespace

void askConsent(const YesNoQuestion& ask) {
    const std::string path = programFile("game setup.txt");
    if (!fileExists(path)) {
        updater.updatesAllowed = answer(ask);
        writeDefaultSetup(path, updater.updatesAllowed);
        return;
    }
    TextReader reader(path);
    std::string line;
    for (int i = 0; i < 3; ++i) {
        reader.readLine(line);
    }
    const std::optional<bool> consent = switchValue(line);
    if (!consent) {
        throw UpdateProblem("not a switch : " + path + " line 3 (online) : \"" + line + "\"");
    }
    updater.updatesAllowed = *consent;
}

} // namespace vastorim
