// The resource list, over two of the built pictures: every picture it names is loaded on the
// offscreen video.
#include "engine/errors.h"
#include "engine/textures.h"
#include "fuzz/fuzz_support.h"

using namespace vastorim;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzzing::scratchProgramFolder({"graphics/dot.png", "graphics/glow.png"});
    fuzzing::headlessPlatform();
    fuzzing::writeScratchFile("graphics/resource list.txt", fuzzing::asText(data, size));
    resetTextureList();
    try {
        loadResourceList();
    } catch (const DataError&) {
    }
    return 0;
}
