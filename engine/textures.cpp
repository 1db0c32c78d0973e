#include "engine/textures.h"

#include "engine/app_path.h"
#include "engine/errors.h"
#include "engine/renderer.h"
#include "engine/text_case.h"
#include "engine/text_files.h"
#include "platform/platform_error.h"

#include <vector>

namespace vastorim {

namespace {

struct TextureEntry {
    platform::TextureId tex = -1;
    std::string name;
};

struct TextureRegistry {
    std::vector<TextureEntry> textures;
    unsigned generation = 1;
};

TextureRegistry registry;

} // namespace

void resetTextureList() {
    registry.textures.clear();
    ++registry.generation;
}

void loadTexture(int width, int height, const std::string& path) {
    // Stored folded, as queries are, so that a picture listed with capitals is found.
    std::string name = asciiLower(fileNamePart(path));
    if (findTexture(name) != -1) {
        return;
    }
    platform::Video* video = currentVideo();
    if (video == nullptr) {
        throw DataError(normalizePath(path), 0, "", "no video to load the picture on");
    }
    try {
        registry.textures.push_back({video->loadTexture(normalizePath(path), width, height), name});
    } catch (const platform::PlatformError& error) {
        throw DataError(normalizePath(path), 0, "", error.what());
    }
    ++registry.generation;
}

void loadResourceList() {
    readFileList(
        programFile("graphics/resource list.txt"), "a picture file name",
        [](const std::string& name) { loadTexture(0, 0, programFile("graphics/" + name)); });
}

std::int16_t findTexture(std::string name) {
    name = asciiLower(name);
    std::int16_t found = -1;
    for (std::size_t i = 0; i < registry.textures.size(); ++i) {
        if (registry.textures[i].name == name) {
            found = static_cast<std::int16_t>(i);
        }
    }
    return found;
}

unsigned textureGeneration() {
    return registry.generation;
}

int lastTexture() {
    return static_cast<int>(registry.textures.size()) - 1;
}

platform::TextureId textureAt(int index) {
    return registry.textures.at(static_cast<std::size_t>(index)).tex;
}

} // namespace vastorim
