#include "updater/versions.h"

#include "engine/app_path.h"
#include "engine/text_files.h"
#include "platform/replaced_files.h"
#include "protocol/update_lists.h"
#include "updater/updater_state.h"

namespace vastorim {
namespace {

std::string versionFile() {
    return programFile("client_inf.dat");
}

} // namespace

std::string formatVersion(std::int16_t version) {
    std::string digits = std::to_string(version < 0 ? -static_cast<int>(version) : version);
    digits.insert(0, digits.size() < 5 ? 5 - digits.size() : 0, '0');
    const std::string text = (version < 0 ? "-" : "") + digits;
    const std::size_t n = text.size();
    return text.substr(0, n - 4) + "." + text.substr(n - 4, 2) + "." + text.substr(n - 2);
}

void readLocalVersion() {
    if (!fileExists(versionFile())) {
        saveLocalVersion(0);
    }
    TextReader reader(versionFile());
    std::string line;
    reader.readLine(line);
    const std::optional<std::int16_t> version = versionNumber(line);
    if (!version) {
        throw UpdateProblem("not a version number : " + versionFile() + " line 1 : \"" + line +
                            "\"");
    }
    updater.localVersion = *version;
}

void saveLocalVersion(std::int16_t version) {
    std::string problem;
    if (!platform::replaceFile(versionFile(), std::to_string(version) + "\r\n",
                               platform::Flush::toDisk, problem)) {
        throw UpdateProblem("the version cannot be saved : " + problem);
    }
}

} // namespace vastorim
