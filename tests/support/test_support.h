#pragma once

#include "engine/errors.h"
#include "platform/png_file.h"

#include <cstdint>
#include <string>
#include <vector>

namespace vastorim::test {

// Writes bytes exactly as given (no line-end translation).
void writeFile(const std::string& path, const std::string& bytes);
std::string readFile(const std::string& path);
// The names of the files and folders directly inside `folder`, sorted; none without the folder.
std::vector<std::string> folderEntries(const std::string& folder);

// A fresh temporary folder, deleted with everything in it at the end.
class TempFolder {
  public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& path() const { return path_; }
    std::string file(const std::string& relative) const { return path_ + "/" + relative; }
    // Writes the text as it stands (the caller chooses the line ends); gives the path.
    std::string write(const std::string& name, const std::string& text) const {
        writeFile(file(name), text);
        return file(name);
    }

  private:
    std::string path_;
};

// Pictures and program folders (test_pictures.cpp, which needs the platform layer).
// A PNG of one colour (0xAARRGGBB), or of four quadrants: top-left, top-right, bottom-left,
// bottom-right.
void writeQuadrantPicture(const std::string& path, int size, std::uint32_t topLeft,
                          std::uint32_t topRight, std::uint32_t bottomLeft,
                          std::uint32_t bottomRight);
inline void writePicture(const std::string& path, int size, std::uint32_t argb) {
    writeQuadrantPicture(path, size, argb, argb, argb, argb);
}

// A program folder with graphics/resource list.txt holding these lines, a small opaque white
// picture for every listed name that is neither empty nor "END", and a silent music track of the
// shipped length.
void writeProgramFolder(const std::string& folder, const std::vector<std::string>& listLines);

// The colour channels of the surface pixel at (x, y) as 0xRRGGBB.
std::uint32_t rgbAt(const std::vector<std::uint32_t>& pixels, int x, int y);

// The picture in a PNG file; throws the reader's message when there is none.
platform::Picture readPng(const std::string& path);

// Where a failing load says its fault is, as "FILE:LINE: FIELD"; "(no error)" when it loads.
template <typename Load> std::string errorOf(Load load) {
    try {
        load();
    } catch (const DataError& error) {
        return error.file() + ":" + std::to_string(error.line()) + ": " + error.field();
    }
    return "(no error)";
}

// The one-line message of the DataError that load throws, "(no error)" when it throws none.
template <typename Load> std::string messageOf(Load load) {
    try {
        load();
    } catch (const DataError& error) {
        return error.what();
    }
    return "(no error)";
}

// Runs a command through the shell, capturing both output streams.
struct CommandResult {
    int status = -1;
    std::string out;
    std::string err;
};
CommandResult runCommand(const std::string& command);

} // namespace vastorim::test
