// Key scripts of headless runs.
#include "sim/key_script.h"
#include "engine/errors.h"
#include "fuzz/fuzz_support.h"

#include <sstream>

using namespace vastorim;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::istringstream script{std::string(fuzzing::asText(data, size))};
    try {
        padsNamed(parseKeyScript(script, "keys.txt"));
    } catch (const DataError&) {
    }
    return 0;
}
