#include "engine/text_files.h"

#include "engine/errors.h"
#include "platform/replaced_files.h"

#include <sstream>

#include <filesystem>
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
    : path_(normalizePath(path)), stream_(path_, std::ios::binary) {
    if (!stream_ || fs::is_directory(path_)) {
        throw DataError(path_, 0, "", "cannot open the file for reading");
    }
}

bool TextReader::readLine(std::string& line) {
    line.clear();
    if (!std::getline(stream_, line)) {
        if (stream_.bad()) {
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
    : path_(normalizePath(path)), file_(std::make_unique<platform::ReplacementFile>(path_)) {
    if (!file_->good()) {
        throw DataError(path_, 0, "", "cannot open the file for writing: " + file_->problem());
    }
    if (mode == Mode::Append) {
        // The old lines are copied into the replacement, so an append is as safe as a rewrite.
        std::ifstream old(path_, std::ios::binary);
        std::ostringstream lines;
        lines << old.rdbuf();
        file_->write(lines.str());
    }
}

TextWriter::~TextWriter() = default;

void TextWriter::writeLine(std::string_view text) {
    file_->write(text);
    file_->write("\r\n");
}

void TextWriter::close() {
    if (!file_->commit(platform::Flush::toDisk)) {
        throw DataError(path_, 0, "", "the file could not be written: " + file_->problem());
    }
}

void readFileList(const std::string& listPath, std::string_view expected,
                  const std::function<void(const std::string& entry)>& load) {
    TextReader list(listPath);
    std::string entry;
    while (list.readLine(entry) && entry != "END") {
        if (entry.empty()) {
            throw DataError(list.path(), list.lineNumber(), "",
                            std::string(expected) + " was expected");
        }
        try {
            load(entry);
        } catch (const DataError& error) {
            throw DataError(error.file(), error.line(), error.field(),
                            error.message() + " (listed on line " +
                                std::to_string(list.lineNumber()) + " of " + list.path() + ")");
        }
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
