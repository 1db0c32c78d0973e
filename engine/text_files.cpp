#include "engine/text_files.h"

#include "engine/errors.h"

#include <filesystem>
#include <sstream>
#include <system_error>

namespace fs = std::filesystem;

namespace vastorim {

std::string normalizePath(std::string_view path) {
    std::string result(path);
    for (char& c : result) {
        if (c == '\\') {
            c = '/';
        }
    }
    return result;
}

TextReader::TextReader(std::string_view path)
    : path_(normalizePath(path)),
      stream_(std::make_unique<std::ifstream>(path_, std::ios::binary)) {
    if (!*stream_ || fs::is_directory(path_)) {
        throw DataError(path_, 0, "", "cannot open the file for reading");
    }
}

TextReader::TextReader(std::string_view path, std::string text)
    : path_(normalizePath(path)), stream_(std::make_unique<std::istringstream>(std::move(text))) {}

bool TextReader::readLine(std::string& line) {
    line.clear();
    if (!std::getline(*stream_, line)) {
        if (stream_->bad()) {
            throw DataError(path_, lineNumber_ + 1, "", "the file could not be read");
        }
        return false;
    }
    if (!line.empty() && line.back() == '\r') {
        line.pop_back();
    }
    ++lineNumber_;
    return true;
}

std::string TextReader::requireLine(std::string_view expected) {
    std::string line;
    if (!readLine(line)) {
        throw DataError(path_, lineNumber_ + 1, "",
                        "the file ends where " + std::string(expected) + " was expected");
    }
    return line;
}

TextWriter::TextWriter(std::string_view path, Mode mode)
    : path_(normalizePath(path)),
      stream_(path_, std::ios::binary | (mode == Mode::Append ? std::ios::app : std::ios::trunc)) {
    if (!stream_) {
        throw DataError(path_, 0, "", "cannot open the file for writing");
    }
}

void TextWriter::writeLine(std::string_view text) {
    stream_ << text << "\r\n";
}

void TextWriter::close() {
    stream_.close();
    if (stream_.fail()) {
        throw DataError(path_, 0, "", "the file could not be written");
    }
}

bool fileExists(std::string_view path) {
    std::error_code error;
    return fs::is_regular_file(normalizePath(path), error);
}

bool folderExists(std::string_view path) {
    std::error_code error;
    return fs::is_directory(normalizePath(path), error);
}

bool createFolder(std::string_view path) {
    std::error_code error;
    return fs::create_directory(normalizePath(path), error) && !error;
}

bool deleteFile(std::string_view path) {
    std::error_code error;
    fs::path target = normalizePath(path);
    fs::permissions(target, fs::perms::owner_write, fs::perm_options::add, error);
    return fs::remove(target, error) && !error;
}

bool deleteFolder(std::string_view path) {
    std::error_code error;
    fs::remove_all(normalizePath(path), error);
    return !error;
}

std::string parentFolder(std::string_view path) {
    std::string normal = normalizePath(path);
    while (normal.size() > 1 && normal.back() == '/') {
        normal.pop_back();
    }
    auto slash = normal.find_last_of('/');
    if (slash == std::string::npos) {
        return "";
    }
    return slash == 0 ? "/" : normal.substr(0, slash);
}

std::string fileNamePart(std::string_view path) {
    auto slash = path.find_last_of("/\\");
    return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

} // namespace vastorim
