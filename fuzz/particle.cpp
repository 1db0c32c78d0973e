// Particle strings: loaded, written back and read again, then spawned, baked and aged.
#include "particles/particle.h"
#include "engine/errors.h"
#include "fuzz/fuzz_support.h"

using namespace vastorim;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Particle type;
    try {
        type.loadParticleString(std::string(fuzzing::asText(data, size)));
    } catch (const FieldError&) {
        return 0;
    }
    Particle reread;
    reread.loadParticleString(type.getParticleString());
    Particle live;
    live.spawnFrom(reread);
    live.bakeKeys();
    for (double age : {0.0, 0.5, 2.0}) {
        live.age = age;
        live.updateSprite();
    }
    return 0;
}
