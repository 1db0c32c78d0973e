#include "server/release_publishing.h"

#include "platform/replaced_files.h"
#include "protocol/update_lists.h"
#include "protocol/update_signing.h"
#include "server/server_options.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <sstream>
#include <stdexcept>

namespace fs = std::filesystem;

namespace vastorim::server {

const char* const releaseUsage =
    "usage: vastorim-server keygen --out KEYFILE\n"
    "       vastorim-server publish --key KEYFILE --client-dir DIR --version V FILE...\n"
    "  keygen   writes a new update key pair to KEYFILE (kept secret, never replaced) and prints\n"
    "           its public key for the game's build setting VASTORIM_UPDATE_PUBLIC_KEY\n"
    "  publish  copies each FILE (a path relative to the working folder, as it is installed)\n"
    "           into DIR, writes DIR/list/list_V.dat with its hashes, signed with KEYFILE, and\n"
    "           puts V (newer than every version listed) at the top of DIR/client_inf.dat";

namespace {

std::string readWhole(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        throw std::runtime_error(path.string() + ": cannot be read");
    }
    std::ostringstream bytes;
    bytes << file.rdbuf();
    return bytes.str();
}

// By way of a temporary beside it, so that a client never fetches half a file.
void writeWhole(const fs::path& path, const std::string& bytes,
                platform::Readers readers = platform::Readers::everyone) {
    fs::create_directories(path.parent_path());
    platform::ReplacementFile file(path.string(), readers);
    if (!file.write(bytes) || !file.commit(platform::Flush::toDisk)) {
        throw std::runtime_error(file.problem());
    }
}

// The versions the client folder lists now, newest first.
std::vector<std::string> listedVersions(const fs::path& listFile, std::int16_t version) {
    std::vector<std::string> versions;
    if (!fs::exists(listFile)) {
        return versions;
    }
    const ListFile list = readListFile(readWhole(listFile));
    for (const std::string& line : list.lines) {
        const std::optional<std::int16_t> listed = versionNumber(line);
        if (!listed) {
            throw std::runtime_error(listFile.string() + ": \"" + line +
                                     "\" is not a version number");
        }
        if (*listed >= version) {
            throw std::runtime_error("version " + std::to_string(version) + " is not newer than " +
                                     line + ", listed in " + listFile.string());
        }
        versions.push_back(std::to_string(*listed));
    }
    return versions;
}

SigningKey readKey(const std::string& keyFile) {
    std::optional<SigningKey> key = SigningKey::fromPem(readWhole(keyFile));
    if (!key) {
        throw std::runtime_error(keyFile + ": not an Ed25519 private key in PEM form");
    }
    return std::move(*key);
}

// The options, each taking the next argument as its value, and the other arguments in `rest`.
std::map<std::string, std::string> readOptions(const std::vector<std::string>& arguments,
                                               const std::vector<std::string>& known,
                                               std::vector<std::string>& rest) {
    std::map<std::string, std::string> options;
    for (std::size_t i = 1; i < arguments.size(); ++i) {
        if (!arguments[i].starts_with("--")) {
            rest.push_back(arguments[i]);
        } else if (std::find(known.begin(), known.end(), arguments[i]) == known.end()) {
            throw UsageError("unknown option \"" + arguments[i] + "\"");
        } else if (i + 1 == arguments.size() || arguments[i + 1].empty()) {
            throw UsageError(arguments[i] + ": a value is missing");
        } else {
            options[arguments[i]] = arguments[i + 1];
            ++i;
        }
    }
    return options;
}

std::string required(const std::map<std::string, std::string>& options, const std::string& name) {
    const auto found = options.find(name);
    if (found == options.end()) {
        throw UsageError(name + " is missing");
    }
    return found->second;
}

int runKeygen(const std::map<std::string, std::string>& options) {
    const std::string publicKey = writeNewKey(required(options, "--out"));
    std::cout << "public key: " << publicKey << "\nbuild the game with: cmake "
              << "-DVASTORIM_UPDATE_PUBLIC_KEY=" << publicKey << '\n';
    return 0;
}

int runPublish(const std::map<std::string, std::string>& options,
               const std::vector<std::string>& files) {
    const std::string versionText = required(options, "--version");
    const std::optional<std::int16_t> version = versionNumber(versionText);
    if (!version || *version <= 0 || versionText != std::to_string(*version)) {
        throw UsageError("--version: expected a whole number from 1 to 32767, got \"" +
                         versionText + "\"");
    }
    if (files.empty()) {
        throw UsageError("no files to publish");
    }
    publishRelease(
        {required(options, "--key"), required(options, "--client-dir"), *version, files});
    std::cout << "published version " << *version << ": " << files.size() << " files\n";
    return 0;
}

} // namespace

std::string writeNewKey(const std::string& keyFile) {
    if (fs::exists(keyFile)) {
        throw std::runtime_error(keyFile + ": exists already, and is left as it is");
    }
    const SigningKey key = SigningKey::generate();
    writeWhole(fs::absolute(keyFile), key.pem(), platform::Readers::owner);
    return key.publicKey();
}

void publishRelease(const Release& release) {
    const SigningKey key = readKey(release.keyFile);
    const fs::path folder = release.clientFolder;
    if (!fs::is_directory(folder)) {
        throw std::runtime_error(release.clientFolder + ": not a folder");
    }
    std::vector<std::string> hashLines;
    for (const std::string& file : release.files) {
        if (const std::optional<std::string> problem = pathProblem(file)) {
            throw std::runtime_error(file + ": a list may not name it (" + *problem + ")");
        }
        const std::optional<FileDigest> digest =
            fs::is_regular_file(file) ? digestFile(file) : std::nullopt;
        if (!digest) {
            throw std::runtime_error(file + ": not a file that can be read");
        }
        hashLines.push_back(hashLine(file, {digest->sha256, digest->size}));
    }
    const fs::path versionList = folder / "client_inf.dat";
    std::vector<std::string> versions = listedVersions(versionList, release.version);
    versions.insert(versions.begin(), std::to_string(release.version));
    // Files first, the version list last: a client never sees a version whose files are not
    // there yet.
    for (const std::string& file : release.files) {
        writeWhole(folder / file, readWhole(file));
    }
    writeWhole(folder / "list" / ("list_" + versions.front() + ".dat"),
               signedList(release.files, hashLines, key));
    writeWhole(versionList, signedList(versions, {}, key));
}

int runReleaseCommand(const std::vector<std::string>& arguments) {
    try {
        std::vector<std::string> rest;
        if (arguments.front() == "publish") {
            return runPublish(readOptions(arguments, {"--key", "--client-dir", "--version"}, rest),
                              rest);
        }
        const std::map<std::string, std::string> options = readOptions(arguments, {"--out"}, rest);
        if (!rest.empty()) {
            throw UsageError("unexpected \"" + rest.front() + "\"");
        }
        return runKeygen(options);
    } catch (const UsageError& error) {
        std::cerr << "vastorim-server: " << error.what() << '\n' << releaseUsage << '\n';
        return 2;
    } catch (const std::exception& error) {
        std::cerr << "vastorim-server: " << error.what() << '\n';
        return 1;
    }
}

} // namespace vastorim::server
