// Picture files, through the game's texture loader on the offscreen video.
#include "engine/errors.h"
#include "engine/textures.h"
#include "fuzz/fuzz_support.h"

using namespace vastorim;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzzing::headlessPlatform();
    const std::string path = fuzzing::writeScratchFile("picture.png", fuzzing::asText(data, size));
    resetTextureList();
    try {
        loadTexture(0, 0, path);
    } catch (const DataError&) {
    }
    return 0;
}
