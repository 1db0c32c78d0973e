#include "support/test_support.h"

#include <atomic>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

namespace vastorim::test {

TempFolder::TempFolder() {
    static std::atomic<int> counter{0};
    auto base = std::filesystem::temp_directory_path() /
                ("vastorim-test-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
    std::filesystem::remove_all(base);
    std::filesystem::create_directories(base);
    path_ = base.string();
}

TempFolder::~TempFolder() {
    std::error_code error;
    std::filesystem::remove_all(path_, error);
}

std::string TempFolder::write(const std::string& name, const std::string& text) const {
    std::string path = file(name);
    std::ofstream(path, std::ios::binary) << text;
    return path;
}

std::string readWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

} // namespace vastorim::test
