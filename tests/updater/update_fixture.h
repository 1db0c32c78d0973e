#pragma once

#include "protocol/update_lists.h"
#include "support/test_support.h"
#include "updater/updater.h"

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace vastorim::test {

// The tests' update key (tests/keys), the one this build's updater trusts.
const SigningKey& testKey();

// The update directory as the server lays it out, signed with `key`: the version list, and a
// file list for each version naming the given files, with their hashes from `files`.
using ClientFiles = std::map<std::string, std::string>; // path below /client/ -> bytes
void addVersionList(ClientFiles& client, const std::vector<std::string>& versions,
                    const SigningKey& key = testKey());
void addFileList(ClientFiles& client, const std::string& version,
                 const std::vector<std::string>& paths, const SigningKey& key = testKey());

// A digest of every file below `folder`, names and bytes.
std::string folderDigest(const std::string& folder);

// A program folder of its own for the updater: the app path, with a setup file whose third line
// is `online` (none when empty) and a version file (none when empty).
class UpdaterFolder : public TempFolder {
  public:
    UpdaterFolder(const std::string& online, const std::string& version);
};

// Services that record what the updater asks of them; windows are offscreen and their picture
// is kept after each paint.
struct RecordingServices {
    std::optional<bool> answer; // the question's answer; nothing: no display
    int questions = 0;
    int windows = 0;
    std::vector<platform::Picture> pictures;
    std::vector<std::string> started; // "patch.dat", "vastorim run"
    bool launcherStarts = true;

    UpdaterServices services();
};

} // namespace vastorim::test
