// The effect list, over three of the shipped effect files: every effect it names is loaded.
#include "engine/errors.h"
#include "fuzz/fuzz_support.h"
#include "game/world_loading.h"

using namespace vastorim;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzzing::scratchProgramFolder(
        {"effects/player.txt", "effects/explode_large.txt", "effects/asteroid1_1.txt"});
    fuzzing::writeScratchFile("effects/effect list.txt", fuzzing::asText(data, size));
    try {
        loadEffectList();
    } catch (const DataError&) {
    }
    return 0;
}
