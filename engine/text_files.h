#pragma once

#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace vastorim::platform {
class ReplacementFile;
}

namespace vastorim {

// Plain text files read and written line by line, and the few folder operations the game and
// its updater need. Both "\" and "/" separate path parts.

// The path with every "\" turned into "/".
std::string normalizePath(std::string_view path);

// Reads lines ended by LF or CR LF and gives them without the line end. Errors are DataErrors
// naming the file (and the line, where one is meant).
class TextReader {
  public:
    explicit TextReader(std::string_view path); // throws DataError when the file cannot be opened

    // The next line; false at the end of the file (the line is then left empty).
    bool readLine(std::string& line);

    // The next line; reading past the end is a DataError naming the file and what was expected.
    std::string requireLine(std::string_view expected);

    int lineNumber() const { return lineNumber_; } // of the line read last, 1-based
    const std::string& path() const { return path_; }

  private:
    std::string path_;
    std::ifstream stream_;
    int lineNumber_ = 0;
};

// Writes lines ended by CR LF; replaces the file, or appends to it. The lines go to a temporary
// beside the file that close() flushes and renames into place: a writer that fails, or is
// dropped without close(), leaves the old file as it was.
class TextWriter {
  public:
    enum class Mode { Replace, Append };
    explicit TextWriter(std::string_view path, Mode mode = Mode::Replace); // throws DataError
    ~TextWriter();

    void writeLine(std::string_view text);
    void close(); // throws DataError when the lines could not be written

  private:
    std::string path_;
    std::unique_ptr<platform::ReplacementFile> file_;
};

// Reads a list file up to its "END" line (or its end); every other line names an entry that
// `load` takes. A blank line is a DataError naming the list file and the line, and a DataError
// from `load` gets the list file and line added to its message.
void readFileList(const std::string& listPath, std::string_view expected,
                  const std::function<void(const std::string& entry)>& load);

bool fileExists(std::string_view path);
bool folderExists(std::string_view path);
bool createFolder(std::string_view path); // one level; false when that fails
bool deleteFile(std::string_view path);   // also when read-only; false when it fails
bool deleteFolder(std::string_view path); // with everything in it
std::string parentFolder(std::string_view path);
std::string fileNamePart(std::string_view path); // the part after the last separator

} // namespace vastorim
