// Effect files: loaded from a file as the game loads them, then saved and loaded again.
#include "engine/errors.h"
#include "fuzz/fuzz_support.h"
#include "particles/effect.h"

using namespace vastorim;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string path = fuzzing::writeScratchFile("effect.txt", fuzzing::asText(data, size));
    Effect effect;
    try {
        effect.loadEffect(path);
    } catch (const DataError&) {
        return 0;
    }
    const std::string saved = fuzzing::scratchProgramFolder() + "/saved.txt";
    if (effect.saveEffect(saved)) {
        effect.loadEffect(saved);
    }
    return 0;
}
