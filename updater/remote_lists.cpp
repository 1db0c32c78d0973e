#include "updater/remote_lists.h"

#include "engine/app_path.h"
#include "engine/server_base.h"
#include "engine/text_files.h"
#include "protocol/update_lists.h"
#include "updater/update_log.h"
#include "updater/updater_state.h"
#include "updater/versions.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace vastorim {
namespace {

// Lists are small; a server that sends more, or takes longer, is not a working update server.
const platform::DownloadLimits kListLimits{std::chrono::seconds(3), std::chrono::seconds(10),
                                           1 << 20, 3};

std::string tempFolder() {
    return programFile("temp");
}

void makeTempFolder(const char* missingMessage) {
    if (!folderExists(tempFolder())) {
        writeLog(missingMessage);
        if (!createFolder(tempFolder())) {
            throw UpdateProblem("the folder cannot be made : " + tempFolder());
        }
    }
    writeLog("temp folder found");
}

// The list at `url`, fetched into the temporary folder as `name`; refused unless it is signed
// with the build's key (in a build with one).
ListFile fetchList(const std::string& url, const std::string& name) {
    const std::string path = tempFolder() + "/" + name;
    fetchFile(url, path, kListLimits);
    std::ifstream file(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << file.rdbuf();
    ListFile list = readListFile(bytes.str());
    if (!updatePublicKey().empty() && !listSignatureHolds(list, updatePublicKey())) {
        throw UpdateProblem(std::string(list.signature ? "wrong signature" : "no signature") +
                            " : " + url);
    }
    return list;
}

// Logs the lines as they are read, the "END" line included; throws when there is none.
template <typename Use> void readLines(const ListFile& list, const std::string& url, Use use) {
    for (std::size_t i = 0; i < list.lines.size(); ++i) {
        writeLog("line read : " + list.lines[i]);
        use(list.lines[i], "line " + std::to_string(i + 1) + " of " + url);
    }
    if (!list.ended) {
        throw UpdateProblem("no END line : " + url);
    }
    writeLog("line read : " + std::string(kListEnd));
}

void addUpdateFile(const std::string& path) {
    writeLog("adding to list");
    updater.updateFiles.push_back(path);
}

} // namespace

std::string updateBase() {
    return serverBase() + "/client";
}

std::string updateFileUrl(std::string_view path) {
    std::string url = updateBase();
    for (std::size_t start = 0; start <= path.size();) {
        const std::size_t slash = std::min(path.find('/', start), path.size());
        url += "/" + percentEncoded(path.substr(start, slash - start));
        start = slash + 1;
    }
    return url;
}

std::string_view updatePublicKey() {
    return VASTORIM_UPDATE_PUBLIC_KEY;
}

void fetchFile(const std::string& url, const std::string& localPath,
               const platform::DownloadLimits& limits) {
    writeLog("download start : " + url + "," + localPath);
    const std::string folder = parentFolder(localPath);
    if (!folderExists(folder)) {
        writeLog("no folder exists, creating");
        std::error_code error;
        std::filesystem::create_directories(folder, error);
    }
    writeLog("folder found");
    if (fileExists(localPath)) {
        deleteFile(localPath);
    }
    bool failed = true;
    platform::downloadFile(url, localPath, failed, limits);
    if (failed) {
        throw UpdateProblem("download failed : " + url);
    }
    writeLog("download complete");
}

void fetchRemoteVersions() {
    makeTempFolder("temp folder doesn't exist, creating");
    const std::string url = updateBase() + "/client_inf.dat";
    const ListFile list = fetchList(url, "client_inf.dat");
    writeLog("reading remote version list");
    readLines(list, url, [](const std::string& line, const std::string& where) {
        const std::optional<std::int16_t> version = versionNumber(line);
        if (!version) {
            throw UpdateProblem("not a version number : " + where + " : \"" + line + "\"");
        }
        updater.remoteVersions.push_back(*version);
    });
    deleteFolder(tempFolder());
    writeLog("temporary folder deleted");
    if (updater.remoteVersions.empty()) {
        throw UpdateProblem("no version before END : " + url);
    }
}

void collectUpdateFiles() {
    makeTempFolder("no temporary folder exists, creating");
    writeLog("total lists : " +
             std::to_string(static_cast<int>(updater.remoteVersions.size()) - 1));
    for (const std::int16_t version : updater.remoteVersions) {
        if (updater.localVersion >= version) {
            continue;
        }
        const std::string number = std::to_string(version);
        const std::string url = updateBase() + "/list/list_" + number + ".dat";
        writeLog("downloading list : " + number);
        const ListFile list = fetchList(url, "list_" + number + ".dat");
        std::string problem;
        const auto hashes = readHashLines(list, problem);
        if (!hashes) {
            throw UpdateProblem(problem + " : " + url);
        }
        writeLog("reading list file : " + number);
        readLines(list, url, [&](const std::string& path, const std::string& where) {
            if (const std::optional<std::string> unsafe = pathProblem(path)) {
                throw UpdateProblem("path refused (" + *unsafe + ") : " + where + " : \"" + path +
                                    "\"");
            }
            // The first list to name a path is the newest, and the server holds the file of the
            // newest version: that list's line holds.
            const bool newest = std::find(updater.updateFiles.begin(), updater.updateFiles.end(),
                                          path) == updater.updateFiles.end();
            const auto hash = hashes->find(path);
            if (hash != hashes->end()) {
                if (newest) {
                    updater.expectedFiles.emplace(path, hash->second);
                }
            } else if (!updatePublicKey().empty()) {
                throw UpdateProblem("no hash line : " + where + " : \"" + path + "\"");
            }
            addUpdateFile(path);
        });
        writeLog("list read complete");
    }
    deleteFolder(tempFolder());
    writeLog("temporary folder removed");
}

} // namespace vastorim
