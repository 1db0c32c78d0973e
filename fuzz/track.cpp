// Track strings: loaded, baked and read at ages before, inside and after their keys.
#include "particles/track.h"
#include "engine/errors.h"
#include "fuzz/fuzz_support.h"

using namespace vastorim;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Track track;
    try {
        track.loadTrackString(std::string(fuzzing::asText(data, size)));
    } catch (const FieldError&) {
        return 0;
    }
    track.bakeKeys(0.5);
    for (double age : {-1.0, 0.0, 0.25, 1.0, 3.5, 1e9}) {
        track.getValue(age);
    }
    Track copy;
    copy.loadTrackString(track.getTrackString());
    return 0;
}
