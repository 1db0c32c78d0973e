#include "support/test_support.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <sys/wait.h>

namespace fs = std::filesystem;

namespace vastorim::test {

TempFolder::TempFolder() {
    std::string pattern = (fs::temp_directory_path() / "vastorim-test-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("cannot create a temporary folder");
    }
    path_ = pattern;
}

TempFolder::~TempFolder() {
    std::error_code error;
    fs::remove_all(path_, error);
}

std::string TempFolder::write(const std::string& name, const std::string& text) const {
    std::string path = file(name);
    writeFile(path, text);
    return path;
}

void writeFile(const std::string& path, const std::string& bytes) {
    fs::create_directories(fs::path(path).parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string readFile(const std::string& path) {
    std::ifstream stream(path, std::ios::binary);
    std::ostringstream text;
    text << stream.rdbuf();
    return text.str();
}

PictureSize pngSize(const std::string& path) {
    std::string bytes = readFile(path);
    if (bytes.size() < 24 || bytes.compare(1, 3, "PNG") != 0) {
        return {};
    }
    auto bigEndian = [&](std::size_t at) {
        int value = 0;
        for (std::size_t i = 0; i < 4; ++i) {
            value = value * 256 + static_cast<unsigned char>(bytes[at + i]);
        }
        return value;
    };
    return {bigEndian(16), bigEndian(20)};
}

void expectOneErrorLine(const std::string& err, const std::string& file) {
    std::vector<std::string> errors;
    std::istringstream stream(err);
    for (std::string line; std::getline(stream, line);) {
        if (line.rfind("vastorim: ", 0) == 0) {
            errors.push_back(line);
        }
    }
    ASSERT_EQ(errors.size(), 1u) << err;
    EXPECT_NE(errors[0].find(file), std::string::npos) << err;
}

CommandResult runCommand(const std::string& command) {
    TempFolder folder;
    std::string out = folder.file("out");
    std::string err = folder.file("err");
    int raw = std::system((command + " >'" + out + "' 2>'" + err + "'").c_str());
    CommandResult result;
    result.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    result.out = readFile(out);
    result.err = readFile(err);
    return result;
}

} // namespace vastorim::test
