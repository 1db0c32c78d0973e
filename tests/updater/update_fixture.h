#pragma once

#include "protocol/update_lists.h"
#include "support/running_server.h"
#include "updater/updater.h"

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace vastorim::test {

// The tests' update key (tests/keys), the one this build's updater trusts.
const SigningKey& testKey();

// A digest of every file below `folder`, names and bytes.
std::string folderDigest(const std::string& folder);

// Services that record what the updater asks of them; windows are offscreen and their picture
// is kept after each paint.
struct RecordingServices {
    std::optional<bool> answer; // the question's answer; nothing: no display
    int questions = 0;
    std::vector<platform::Picture> pictures;
    std::vector<std::string> started; // "patch.dat", "vastorim run"

    UpdaterServices services();
};

// A program folder for the updater (the app path), and an update directory that the reference
// server serves on loopback (VASTORIM_SERVER) with releases published from a release folder.
class UpdaterTest : public ::testing::Test {
  protected:
    UpdaterTest();
    ~UpdaterTest() override;

    // The setup file with `online` third (none when empty), and the version file.
    void install(const std::string& online, const std::string& version) const;
    // `vastorim-server publish` in the release folder: "--version V FILE...".
    void publish(const std::string& arguments) const;
    int run(const std::string& commandLine = "log_on");
    // The client log, each line without its date and time.
    std::string log() const;
    // The paths the server was asked for, in order.
    std::vector<std::string> requests() const;

    TempFolder game, client, release, work;
    std::unique_ptr<RunningServer> server;
    RecordingServices recorder;
};

} // namespace vastorim::test
