#pragma once

#include "engine/app_path.h"
#include "protocol/update_lists.h"
#include "support/running_server.h"
#include "updater/updater.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace vastorim::test {

// The tests' update key (tests/keys), the one this build's updater trusts.
inline const SigningKey& testKey() {
    static const SigningKey key =
        *SigningKey::fromPem(readFile(VASTORIM_SOURCE_DIR "/tests/keys/test-update-key.pem"));
    return key;
}

// A digest of every file below `folder`, names and bytes.
inline std::string folderDigest(const std::string& folder) {
    namespace fs = std::filesystem;
    std::map<std::string, std::string> files; // sorted by name
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        files[fs::relative(entry.path(), folder).string()] =
            entry.is_regular_file() ? sha256Hex(readFile(entry.path().string())) : "folder";
    }
    std::string all;
    for (const auto& [name, digest] : files) {
        all += name + " " + digest + "\n";
    }
    return sha256Hex(all);
}

// Draws offscreen and keeps the picture after each paint.
class RecordingWindow final : public platform::UpdateWindow {
  public:
    RecordingWindow(const platform::UpdateWindowLook& look,
                    std::vector<platform::Picture>& pictures)
        : window_(platform::createOffscreenUpdateWindow(look)), pictures_(pictures) {}
    void paint(const std::vector<platform::WindowBox>& boxes, const platform::WindowBox& label,
               const std::string& text) override {
        window_->paint(boxes, label, text);
        pictures_.push_back(window_->picture());
    }
    void handleEvents() override {}
    platform::Picture picture() override { return window_->picture(); }

  private:
    std::unique_ptr<platform::UpdateWindow> window_;
    std::vector<platform::Picture>& pictures_;
};

// Services that record what the updater asks of them; windows are offscreen and their picture
// is kept after each paint.
struct RecordingServices {
    std::optional<bool> answer; // the question's answer; nothing: no display
    int questions = 0;
    std::vector<platform::Picture> pictures;
    std::vector<std::string> started; // "patch.dat", "vastorim run"

    UpdaterServices services() {
        UpdaterServices services;
        services.ask = [this](const std::string&, const std::string&) {
            ++questions;
            return answer;
        };
        services.openWindow = [this](const platform::UpdateWindowLook& look) {
            return std::make_unique<RecordingWindow>(look, pictures);
        };
        services.startProgram = [this](const std::string& program,
                                       const std::vector<std::string>& arguments, std::string&) {
            started.push_back(program + (arguments.empty() ? "" : " " + arguments.front()));
            return true;
        };
        return services;
    }
};

// A program folder for the updater (the app path), and an update directory that the reference
// server serves on loopback (VASTORIM_SERVER) with releases published from a release folder.
class UpdaterTest : public ::testing::Test {
  protected:
    UpdaterTest()
        : server(std::make_unique<RunningServer>(work, "--client-dir '" + client.path() + "'")) {
        setAppPath(game.path());
        setenv("VASTORIM_SERVER", server->base().c_str(), 1);
        unsetenv("VASTORIM_CONSENT");
    }
    ~UpdaterTest() override { unsetenv("VASTORIM_SERVER"); }

    // The setup file with `online` third (none when empty), and the version file.
    void install(const std::string& online, const std::string& version) const {
        if (!online.empty()) {
            game.write("game setup.txt", "false\r\ntrue\r\n" + online + "\r\n1\r\nup\r\n");
        }
        if (!version.empty()) {
            game.write("client_inf.dat", version + "\r\n");
        }
    }
    // `vastorim-server publish` in the release folder: "--version V FILE...".
    void publish(const std::string& arguments) const {
        const CommandResult published = publishRelease(release.path(), client.path(), arguments);
        ASSERT_EQ(published.status, 0) << published.err;
    }
    int run(const std::string& commandLine = "log_on") {
        return runUpdater(commandLine, recorder.services());
    }
    // The client log, each line without its date and time.
    std::string log() const {
        std::istringstream lines(readFile(game.file("client_log.txt")));
        std::string masked;
        for (std::string line; std::getline(lines, line);) {
            const std::size_t start = line.find(" - ") + 3;
            masked += line.substr(start, line.find('\r') - start) + "\n";
        }
        return masked;
    }
    // The paths the server was asked for, in order, as it decoded them; its log says
    // "GET /client/PATH STATUS".
    std::vector<std::string> requests() const {
        const std::string prefix = "GET /client/";
        std::vector<std::string> paths;
        for (const std::string& request : server->requests()) {
            if (request.starts_with(prefix)) {
                paths.push_back(request.substr(prefix.size(), request.rfind(' ') - prefix.size()));
            }
        }
        return paths;
    }

    TempFolder game, client, release, work;
    std::unique_ptr<RunningServer> server;
    RecordingServices recorder;
};

} // namespace vastorim::test
