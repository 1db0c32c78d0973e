#include "protocol/update_lists.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>

namespace vastorim {
namespace {

constexpr std::string_view kSignaturePrefix = "sig ";
constexpr std::string_view kHashPrefix = "sha256 ";
constexpr std::size_t kHashHexDigits = 64;

std::string lowerCase(std::string_view text) {
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return lower;
}

struct Line {
    std::string text;
    std::size_t start = 0; // where it begins in the file
};

std::vector<Line> splitLines(std::string_view bytes) {
    std::vector<Line> lines;
    std::size_t start = 0;
    while (start < bytes.size()) {
        std::size_t end = bytes.find('\n', start);
        const std::size_t next = end == std::string_view::npos ? bytes.size() : end + 1;
        std::string_view text = bytes.substr(start, next - start);
        if (text.ends_with('\n')) {
            text.remove_suffix(1);
        }
        if (text.ends_with('\r')) {
            text.remove_suffix(1);
        }
        lines.push_back({std::string(text), start});
        start = next;
    }
    return lines;
}

bool isLowerHex(std::string_view text) {
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'); });
}

// "HEX SIZE PATH" after the prefix; the path is the rest of the line and may hold spaces.
std::optional<std::pair<std::string, FileHash>> readHashLine(std::string_view rest) {
    const std::size_t hexEnd = rest.find(' ');
    if (hexEnd != kHashHexDigits || !isLowerHex(rest.substr(0, hexEnd))) {
        return std::nullopt;
    }
    const std::size_t sizeEnd = rest.find(' ', hexEnd + 1);
    if (sizeEnd == std::string_view::npos) {
        return std::nullopt;
    }
    FileHash hash{std::string(rest.substr(0, hexEnd)), 0};
    const char* first = rest.data() + hexEnd + 1;
    const char* last = rest.data() + sizeEnd;
    const auto [end, error] = std::from_chars(first, last, hash.size);
    if (error != std::errc() || end != last || first == last) {
        return std::nullopt;
    }
    return std::pair(std::string(rest.substr(sizeEnd + 1)), hash);
}

} // namespace

ListFile readListFile(std::string_view bytes) {
    ListFile list;
    std::vector<Line> lines = splitLines(bytes);
    if (!lines.empty() && lines.back().text.starts_with(kSignaturePrefix)) {
        list.signature = lines.back().text.substr(kSignaturePrefix.size());
        list.signedBytes = std::string(bytes.substr(0, lines.back().start));
        lines.pop_back();
    }
    for (Line& line : lines) {
        if (list.ended) {
            list.afterEnd.push_back(std::move(line.text));
        } else if (line.text == kListEnd) {
            list.ended = true;
        } else {
            list.lines.push_back(std::move(line.text));
        }
    }
    return list;
}

std::optional<std::int16_t> versionNumber(std::string_view line) {
    const std::size_t first = line.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return std::nullopt;
    }
    const std::string_view digits = line.substr(first, line.find_last_not_of(" \t") - first + 1);
    std::int16_t version = 0;
    const auto [end, error] =
        std::from_chars(digits.data(), digits.data() + digits.size(), version);
    if (error != std::errc() || end != digits.data() + digits.size()) {
        return std::nullopt;
    }
    return version;
}

bool listSignatureHolds(const ListFile& list, std::string_view publicKey) {
    return list.signature && signatureHolds(publicKey, list.signedBytes, *list.signature);
}

std::optional<std::map<std::string, FileHash>> readHashLines(const ListFile& list,
                                                             std::string& problem) {
    std::map<std::string, FileHash> hashes;
    for (const std::string& line : list.afterEnd) {
        if (!line.starts_with(kHashPrefix)) {
            continue;
        }
        const auto entry = readHashLine(std::string_view(line).substr(kHashPrefix.size()));
        if (!entry) {
            problem = "malformed hash line \"" + line + "\"";
            return std::nullopt;
        }
        const auto [at, added] = hashes.insert(*entry);
        if (!added &&
            (at->second.sha256 != entry->second.sha256 || at->second.size != entry->second.size)) {
            problem = "two different hashes for \"" + entry->first + "\"";
            return std::nullopt;
        }
    }
    return hashes;
}

std::optional<std::string> pathProblem(std::string_view path) {
    if (path.empty()) {
        return "an empty path";
    }
    if (path.front() == '/') {
        return "an absolute path";
    }
    if (path.find('\\') != std::string_view::npos) {
        return "a backslash";
    }
    if (std::any_of(path.begin(), path.end(),
                    [](unsigned char c) { return c < 0x20 || c == 0x7f; })) {
        return "a control character";
    }
    if (path.size() >= 2 && std::isalpha(static_cast<unsigned char>(path[0])) && path[1] == ':') {
        return "a drive letter";
    }
    for (std::size_t start = 0;;) {
        const std::size_t slash = path.find('/', start);
        const std::string_view segment = path.substr(start, slash - start);
        if (segment.empty() || segment == "." || segment == "..") {
            return "an empty, \".\" or \"..\" segment";
        }
        if (slash == std::string_view::npos) {
            break;
        }
        start = slash + 1;
    }
    // The updater's own files, and the folders where it keeps lists and staged files.
    static const std::array<std::string_view, 3> kOwnFiles = {"client_inf.dat", "client_log.txt",
                                                              "game setup.txt"};
    static const std::array<std::string_view, 3> kOwnFolders = {kStagingFolder, "temp", "~tmp"};
    const std::string lower = lowerCase(path);
    const std::string first = lower.substr(0, lower.find('/'));
    if (std::find(kOwnFiles.begin(), kOwnFiles.end(), lower) != kOwnFiles.end() ||
        std::find(kOwnFolders.begin(), kOwnFolders.end(), first) != kOwnFolders.end()) {
        return "a name the updater keeps for itself";
    }
    return std::nullopt;
}

std::string signedList(const std::vector<std::string>& lines,
                       const std::vector<std::string>& afterEnd, const SigningKey& key) {
    std::string text;
    for (const std::string& line : lines) {
        text += line + "\r\n";
    }
    text += std::string(kListEnd) + "\r\n";
    for (const std::string& line : afterEnd) {
        text += line + "\r\n";
    }
    return text + std::string(kSignaturePrefix) + key.sign(text) + "\r\n";
}

std::string hashLine(const std::string& path, const FileHash& hash) {
    return std::string(kHashPrefix) + hash.sha256 + " " + std::to_string(hash.size) + " " + path;
}

} // namespace vastorim
