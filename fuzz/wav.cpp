// The music track, loaded as the game loads it on the virtual sound device, and its clock run
// through the start of the track.
#include "engine/errors.h"
#include "engine/music_clock.h"
#include "fuzz/fuzz_support.h"
#include "platform/clock.h"

using namespace vastorim;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzzing::scratchProgramFolder({});
    platform::Platform& platform = fuzzing::headlessPlatform();
    fuzzing::writeScratchFile("sound/music.wav", fuzzing::asText(data, size));
    resetMusicClock();
    try {
        initSound();
    } catch (const DataError&) {
        return 0;
    }
    restartMusic();
    for (int frame = 0; frame < 8; ++frame) {
        updateMusicClock();
        platform.clock->frameEnded();
    }
    shutdownSound();
    return 0;
}
