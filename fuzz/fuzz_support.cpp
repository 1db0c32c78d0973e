#include "fuzz/fuzz_support.h"

#include "engine/app_path.h"
#include "engine/platform_access.h"
#include "engine/renderer.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <stdexcept>

namespace vastorim::fuzzing {
namespace {

namespace fs = std::filesystem;

std::string scratchFolder;

void removeScratchFolder() {
    std::error_code ignored;
    fs::remove_all(scratchFolder, ignored);
}

} // namespace

const std::string& scratchProgramFolder(std::initializer_list<const char*> contentFiles) {
    if (scratchFolder.empty()) {
        // Memory-backed where there is such a folder: the loaders read a file for every input.
        const fs::path parent =
            fs::is_directory("/dev/shm") ? "/dev/shm" : fs::temp_directory_path();
        std::string pattern = (parent / "vastorim-fuzz-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) {
            throw std::runtime_error("cannot make a scratch folder under " + pattern);
        }
        scratchFolder = pattern;
        std::atexit(removeScratchFolder);
        for (const char* content : contentFiles) {
            const fs::path copy = fs::path(scratchFolder) / content;
            fs::create_directories(copy.parent_path());
            fs::copy_file(fs::path(VASTORIM_PROGRAM_DIR) / content, copy);
        }
        setAppPath(scratchFolder);
    }
    return scratchFolder;
}

std::string writeScratchFile(const std::string& relative, std::string_view bytes) {
    const std::string path = scratchProgramFolder() + "/" + relative;
    fs::create_directories(fs::path(path).parent_path());
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    file.close();
    if (!file) {
        throw std::runtime_error("cannot write the fuzz input to " + path);
    }
    return path;
}

platform::Platform& headlessPlatform() {
    constexpr int inputsPerPlatform = 256;
    static std::unique_ptr<platform::Platform> current;
    static int inputs = 0;
    if (!current || ++inputs % inputsPerPlatform == 0) {
        if (current) {
            shutdownRenderer();
            setCurrentPlatform(nullptr);
        }
        current = std::make_unique<platform::Platform>(platform::createHeadlessPlatform(16));
        setCurrentPlatform(current.get());
        initRenderer(*current->video);
    }
    return *current;
}

} // namespace vastorim::fuzzing
