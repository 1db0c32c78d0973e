#pragma once

#include "protocol/update_signing.h"

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The lists of the update directory, as the game reads them and `vastorim-server publish` writes
// them. Both are lines up to a line that is exactly "END": the version list `client_inf.dat`
// holds version numbers, newest first; a file list `list/list_V.dat` holds the paths that
// changed in version V. What a signed list adds comes after "END", where a reader of the plain
// format never looks: in a file list one line "sha256 HEX SIZE PATH" for each path, and as the
// last line of either "sig BASE64", the Ed25519 signature of every byte before that line.
namespace vastorim {

inline constexpr std::string_view kListEnd = "END";

// The folder inside the program folder where an update's files wait until all have arrived.
inline constexpr std::string_view kStagingFolder = "~update";

struct ListFile {
    std::vector<std::string> lines;       // before "END", without their line ends
    bool ended = false;                   // an "END" line was found
    std::vector<std::string> afterEnd;    // the lines after it, the signature line left out
    std::optional<std::string> signature; // base64, when the last line is "sig ..."
    std::string signedBytes;              // every byte before the signature line
};

// Lines end at LF or CR LF.
ListFile readListFile(std::string_view bytes);

// A version line: a whole number from -32768 to 32767, blanks around it allowed.
std::optional<std::int16_t> versionNumber(std::string_view line);

// The list carries a signature, and it holds for `publicKey`.
bool listSignatureHolds(const ListFile& list, std::string_view publicKey);

struct FileHash {
    std::string sha256; // lower-case hex
    std::uint64_t size = 0;
};

// The "sha256" lines among a file list's lines after "END", by path. A malformed line, or two
// lines for one path that disagree, gives nothing and says why in `problem`.
std::optional<std::map<std::string, FileHash>> readHashLines(const ListFile& list,
                                                             std::string& problem);

// Why a list may not name `path`, or nothing when it may. A path is relative, "/"-separated, of
// segments that are neither empty, "." nor "..", without backslashes, control characters or a
// drive letter, and names none of the files the updater keeps for itself (the version file, the
// client log, the setup file, in any letter case) nor anything inside its own folders.
std::optional<std::string> pathProblem(std::string_view path);

// A signed list: the lines, "END", the lines after it, and the signature line; CR LF line ends.
std::string signedList(const std::vector<std::string>& lines,
                       const std::vector<std::string>& afterEnd, const SigningKey& key);

std::string hashLine(const std::string& path, const FileHash& hash);

} // namespace vastorim
