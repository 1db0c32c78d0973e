#include "updater/updater.h"

#include "engine/app_path.h"
#include "engine/text_files.h"
#include "platform/process.h"
#include "platform/question_box.h"
#include "protocol/update_signing.h"
#include "updater/progress_window.h"
#include "updater/remote_lists.h"
#include "updater/staged_install.h"
#include "updater/update_log.h"
#include "updater/updater_state.h"
#include "updater/versions.h"

#include <iostream>

namespace vastorim {
namespace {

// A file may be large and the line slow, but a download never waits without end. In a build
// with a key the size limit is the size its list gives.
const platform::DownloadLimits kFileLimits{std::chrono::seconds(3), std::chrono::minutes(10),
                                           std::size_t{1} << 30, 3};

void report(const std::string& problem) {
    std::cerr << "vastorim: update: " << problem << '\n';
    writeLog(problem);
}

std::string withoutSurroundingSpaces(const std::string& text) {
    const std::size_t first = text.find_first_not_of(' ');
    return first == std::string::npos ? ""
                                      : text.substr(first, text.find_last_not_of(' ') - first + 1);
}

void startLog(const std::string& commandLine) {
    updater.logEnabled = withoutSurroundingSpaces(commandLine) == "log_on";
    clearLog();
    writeLog("initialisation complete");
}

void checkDownload(const std::string& path, const FileHash& expected) {
    const std::optional<FileDigest> digest = digestFile(stagedFile(path));
    if (!digest || digest->size != expected.size || digest->sha256 != expected.sha256) {
        throw UpdateProblem("file refused (its size or SHA-256 is not its list's) : " + path);
    }
}

// Each file into the staging folder, checked against its list's line as it arrives; the bar
// moves and the window repaints between files.
void downloadUpdateFiles(ProgressWindow& window) {
    if (!discardStagedFiles()) {
        throw UpdateProblem("an unfinished install waits to be rolled back : " +
                            programFile(kStagingFolder));
    }
    const std::vector<std::string>& files = updater.updateFiles;
    for (std::size_t i = 0; i < files.size(); ++i) {
        const auto expected = updater.expectedFiles.find(files[i]);
        platform::DownloadLimits limits = kFileLimits;
        if (expected != updater.expectedFiles.end()) {
            limits.maxBytes = expected->second.size;
        }
        fetchFile(updateFileUrl(files[i]), stagedFile(files[i]), limits);
        if (expected != updater.expectedFiles.end()) {
            checkDownload(files[i], expected->second);
        }
        window.setProgress(i, files.size() - 1);
        window.repaint();
    }
}

void performUpdate(const UpdaterServices& services) {
    writeLog("update needed");
    ProgressWindow window(services.openWindow ? services.openWindow(progressWindowLook())
                                              : nullptr);
    const std::int16_t newest = updater.remoteVersions.front();
    const std::string label =
        "Updating Client : " + formatVersion(updater.localVersion) + " -> " + formatVersion(newest);
    window.setLabel(label);
    writeLog(label);
    window.repaint();
    collectUpdateFiles();
    downloadUpdateFiles(window);
    installStagedFiles(updater.localVersion, newest, updater.updateFiles, services.afterEachMove);
}

// Starts the launcher, or the game itself where the launcher cannot start.
int launchClient(const UpdaterServices& services) {
    writeLog("running client");
    std::string problem;
    if (services.startProgram("patch.dat", {}, problem)) {
        return 0;
    }
    report("the launcher cannot be started (" + problem + ") : " + programFile("patch.dat") +
           " : starting vastorim run");
    if (services.startProgram("vastorim", {"run"}, problem)) {
        return 0;
    }
    report("the game cannot be started : " + problem);
    return 1;
}

} // namespace

UpdaterServices platformUpdaterServices() {
    UpdaterServices services;
    services.ask = platform::askYesNo;
    services.openWindow = [](const platform::UpdateWindowLook& look) {
        std::string problem;
        return platform::openUpdateWindow(look, problem);
    };
    services.startProgram = [](const std::string& program,
                               const std::vector<std::string>& arguments, std::string& problem) {
        return platform::startDetached(programFile(program), arguments, programFile(""), problem);
    };
    return services;
}

int runUpdater(const std::string& commandLine, const UpdaterServices& services) {
    resetUpdaterState();
    const std::string recovered = recoverUnfinishedInstall();
    if (!recovered.empty()) {
        std::cerr << "vastorim: update: " << recovered << '\n';
    }
    try {
        askConsent(services.ask);
    } catch (const std::exception& problem) {
        startLog(commandLine);
        report(problem.what());
        return launchClient(services);
    }
    if (!updater.updatesAllowed) {
        return launchClient(services);
    }
    startLog(commandLine);
    if (!recovered.empty()) {
        writeLog(recovered);
    }
    try {
        readLocalVersion();
        writeLog("local version : " + std::to_string(updater.localVersion));
        fetchRemoteVersions();
        writeLog("remote version : " + std::to_string(updater.remoteVersions.front()));
        if (updater.remoteVersions.front() > updater.localVersion) {
            performUpdate(services);
        }
    } catch (const std::exception& problem) {
        report(problem.what());
        deleteFolder(programFile("temp"));
        discardStagedFiles();
    }
    return launchClient(services);
}

} // namespace vastorim
