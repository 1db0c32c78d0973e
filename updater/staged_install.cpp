#include "updater/staged_install.h"

#include "engine/app_path.h"
#include "platform/replaced_files.h"
#include "protocol/update_lists.h"
#include "updater/updater_state.h"
#include "updater/versions.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

namespace fs = std::filesystem;

namespace vastorim {
namespace {

// What an install does; its text is the journal: "from V", "to V", one "folder PATH" for each
// folder it makes (outer ones first), one "add PATH" or "replace PATH" for each file, "END".
struct Journal {
    std::int16_t from = 0;
    std::int16_t to = 0;
    std::vector<std::string> folders;
    struct File {
        std::string path;
        bool replaces = false; // a file was there before
    };
    std::vector<File> files;
};

fs::path stagingFolder() {
    return programFile(kStagingFolder);
}
fs::path journalFile() {
    return stagingFolder() / "journal.txt";
}
// Present once an install has begun to roll back: from then on it only rolls back.
fs::path rollBackMark() {
    return stagingFolder() / "rolling back";
}
fs::path installed(const std::string& path) {
    return programFile(path);
}
fs::path kept(const std::string& path) {
    return stagingFolder() / "old" / path;
}

bool present(const fs::path& path) {
    std::error_code error;
    return fs::exists(fs::symlink_status(path, error));
}

bool writeDurably(const fs::path& path, const std::string& text, std::string& problem) {
    return platform::replaceFile(path.string(), text, platform::Flush::toDisk, problem);
}

std::string journalText(const Journal& journal) {
    std::string text =
        "from " + std::to_string(journal.from) + "\r\nto " + std::to_string(journal.to) + "\r\n";
    for (const std::string& folder : journal.folders) {
        text += "folder " + folder + "\r\n";
    }
    for (const Journal::File& file : journal.files) {
        text += (file.replaces ? "replace " : "add ") + file.path + "\r\n";
    }
    return text + std::string(kListEnd) + "\r\n";
}

std::optional<Journal> readJournal() {
    std::ifstream file(journalFile(), std::ios::binary);
    std::ostringstream bytes;
    bytes << file.rdbuf();
    const ListFile list = readListFile(bytes.str());
    Journal journal;
    int versions = 0;
    for (const std::string& line : list.lines) {
        const std::size_t space = line.find(' ');
        const std::string word = line.substr(0, space);
        const std::string rest = space == std::string::npos ? "" : line.substr(space + 1);
        const std::optional<std::int16_t> version = versionNumber(rest);
        if ((word == "from" || word == "to") && version) {
            (word == "from" ? journal.from : journal.to) = *version;
            ++versions;
        } else if (pathProblem(rest)) {
            return std::nullopt;
        } else if (word == "folder") {
            journal.folders.push_back(rest);
        } else if (word == "add" || word == "replace") {
            journal.files.push_back({rest, word == "replace"});
        } else {
            return std::nullopt;
        }
    }
    return list.ended && versions == 2 ? std::optional(journal) : std::nullopt;
}

// The install of `paths`, or UpdateProblem when one cannot be placed.
Journal planInstall(std::int16_t from, std::int16_t to, const std::vector<std::string>& paths) {
    Journal journal{from, to, {}, {}};
    std::set<std::string> planned;
    for (const std::string& path : paths) {
        if (!planned.insert(path).second) {
            continue;
        }
        for (std::size_t slash = path.find('/'); slash != std::string::npos;
             slash = path.find('/', slash + 1)) {
            const std::string folder = path.substr(0, slash);
            std::error_code error;
            const fs::file_status status = fs::symlink_status(installed(folder), error);
            if (fs::exists(status) && !fs::is_directory(status)) {
                throw UpdateProblem("path refused : " + path + " : " + folder + " is not a folder");
            }
            if (!fs::exists(status) && std::find(journal.folders.begin(), journal.folders.end(),
                                                 folder) == journal.folders.end()) {
                journal.folders.push_back(folder);
            }
        }
        if (fs::is_directory(installed(path))) {
            throw UpdateProblem("path refused : " + path + " is a folder");
        }
        journal.files.push_back({path, present(installed(path))});
    }
    for (const std::string& folder : journal.folders) {
        if (planned.contains(folder)) {
            throw UpdateProblem("path refused : " + folder + " is both a file and a folder");
        }
    }
    return journal;
}

// Moves every file that is still staged; false, and why in `problem`, when a step fails.
bool rollForward(const Journal& journal, const std::function<void(int)>& afterEachMove,
                 std::string& problem) {
    std::error_code error;
    for (const std::string& folder : journal.folders) {
        fs::create_directory(installed(folder), error);
        if (error) {
            problem = installed(folder).string() + " : " + error.message();
            return false;
        }
    }
    std::set<fs::path> changedFolders = {installed("")};
    int moved = 0;
    for (const Journal::File& file : journal.files) {
        const fs::path staged = stagedFile(file.path), target = installed(file.path);
        if (!present(staged)) {
            continue; // moved before the install was cut short
        }
        if (file.replaces && present(target) && !present(kept(file.path))) {
            fs::create_directories(kept(file.path).parent_path(), error);
            fs::rename(target, kept(file.path), error);
        }
        if (!error && present(kept(file.path))) {
            fs::permissions(staged, fs::status(kept(file.path), error).permissions(), error);
        }
        if (!error) {
            fs::rename(staged, target, error);
        }
        if (error) {
            problem = target.string() + " : " + error.message();
            return false;
        }
        changedFolders.insert(target.parent_path());
        if (afterEachMove) {
            afterEachMove(++moved);
        }
    }
    for (const fs::path& folder : changedFolders) {
        platform::syncFolder(folder.string());
    }
    try {
        saveLocalVersion(journal.to);
    } catch (const UpdateProblem& failure) {
        problem = failure.what();
        return false;
    }
    return true;
}

// Puts back every file the install replaced and removes those it added, the folders it made
// (when empty) and its version; false, and why in `problem`, when a step fails.
bool rollBack(const Journal& journal, std::string& problem) {
    bool whole = true;
    for (auto file = journal.files.rbegin(); file != journal.files.rend(); ++file) {
        std::error_code error;
        const fs::path target = installed(file->path);
        if (file->replaces && present(kept(file->path))) {
            fs::rename(kept(file->path), target, error);
        } else if (!file->replaces && !present(stagedFile(file->path))) {
            fs::remove(target, error);
        }
        if (error) {
            problem += target.string() + " : " + error.message() + "; ";
            whole = false;
        }
    }
    for (auto folder = journal.folders.rbegin(); folder != journal.folders.rend(); ++folder) {
        std::error_code notEmpty;
        fs::remove(installed(*folder), notEmpty);
    }
    try {
        saveLocalVersion(journal.from);
    } catch (const UpdateProblem& failure) {
        problem += failure.what();
        whole = false;
    }
    return whole;
}

void finishInstall() {
    std::error_code error;
    fs::remove(journalFile(), error);
    platform::syncFolder(stagingFolder().string());
    fs::remove_all(stagingFolder(), error);
}

// Rolls back for good; what it did, for the log.
std::string rollBackForGood(const Journal& journal) {
    std::string problem;
    if (!writeDurably(rollBackMark(), "", problem)) {
        return "not rolled back (" + problem + "), to be tried again at the next start";
    }
    if (rollBack(journal, problem)) {
        finishInstall();
        return "rolled back to " + formatVersion(journal.from);
    }
    return "not wholly rolled back (" + problem + "), to be tried again at the next start";
}

} // namespace

std::string stagedFile(const std::string& path) {
    return (stagingFolder() / "new" / path).string();
}

bool discardStagedFiles() {
    if (present(journalFile())) {
        return false;
    }
    std::error_code error;
    fs::remove_all(stagingFolder(), error);
    return true;
}

void installStagedFiles(std::int16_t fromVersion, std::int16_t version,
                        const std::vector<std::string>& paths,
                        const std::function<void(int moved)>& afterEachMove) {
    const Journal journal = planInstall(fromVersion, version, paths);
    std::string problem;
    if (!writeDurably(journalFile(), journalText(journal), problem)) {
        throw UpdateProblem("the install cannot begin : " + problem);
    }
    if (rollForward(journal, afterEachMove, problem)) {
        finishInstall();
        return;
    }
    throw UpdateProblem("install failed : " + problem + " : " + rollBackForGood(journal));
}

std::string recoverUnfinishedInstall() {
    if (!present(stagingFolder())) {
        return "";
    }
    if (!present(journalFile())) {
        discardStagedFiles();
        return "the files of an unfinished download were removed";
    }
    const std::optional<Journal> journal = readJournal();
    if (!journal) {
        return "the install journal cannot be read, and is left as it is : " +
               journalFile().string();
    }
    const std::string update = "unfinished update to " + formatVersion(journal->to) + " ";
    std::string problem;
    if (!present(rollBackMark()) && rollForward(*journal, {}, problem)) {
        finishInstall();
        return update + "completed";
    }
    return update + rollBackForGood(*journal) + (problem.empty() ? "" : " : " + problem);
}

} // namespace vastorim
