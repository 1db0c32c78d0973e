#include "update_fixture.h"

#include "engine/app_path.h"

#include <filesystem>
#include <memory>

namespace fs = std::filesystem;

namespace vastorim::test {
namespace {

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

} // namespace

const SigningKey& testKey() {
    static const SigningKey key =
        *SigningKey::fromPem(readFile(VASTORIM_SOURCE_DIR "/tests/keys/test-update-key.pem"));
    return key;
}

void addVersionList(ClientFiles& client, const std::vector<std::string>& versions,
                    const SigningKey& key) {
    client["client_inf.dat"] = signedList(versions, {}, key);
}

void addFileList(ClientFiles& client, const std::string& version,
                 const std::vector<std::string>& paths, const SigningKey& key) {
    std::vector<std::string> hashes;
    for (const std::string& path : paths) {
        const std::string& bytes = client[path];
        hashes.push_back(hashLine(path, {sha256Hex(bytes), bytes.size()}));
    }
    client["list/list_" + version + ".dat"] = signedList(paths, hashes, key);
}

std::string folderDigest(const std::string& folder) {
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

UpdaterFolder::UpdaterFolder(const std::string& online, const std::string& version) {
    setAppPath(path());
    if (!online.empty()) {
        write("game setup.txt", "false\r\ntrue\r\n" + online + "\r\n1\r\nup\r\n");
    }
    if (!version.empty()) {
        write("client_inf.dat", version + "\r\n");
    }
}

UpdaterServices RecordingServices::services() {
    UpdaterServices services;
    services.ask = [this](const std::string&, const std::string&) {
        ++questions;
        return answer;
    };
    services.openWindow = [this](const platform::UpdateWindowLook& look) {
        ++windows;
        return std::make_unique<RecordingWindow>(look, pictures);
    };
    services.startProgram = [this](const std::string& program,
                                   const std::vector<std::string>& arguments, std::string&) {
        started.push_back(program + (arguments.empty() ? "" : " " + arguments.front()));
        return launcherStarts;
    };
    return services;
}

} // namespace vastorim::test
