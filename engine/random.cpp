#include "engine/random.h"

#include <chrono>

namespace vastorim {

namespace {

// PCG32 (O'Neill): small, fast and statistically sound for game use.
struct Generator {
    std::uint64_t state = 0x853c49e6748fea9bULL;
    std::uint64_t increment = 0xda3e39cb94b95bdbULL;
    bool pinned = false;
    std::uint64_t seed = 0;

    std::uint32_t next() {
        std::uint64_t old = state;
        state = old * 6364136223846793005ULL + increment;
        auto xorshifted = static_cast<std::uint32_t>(((old >> 18u) ^ old) >> 27u);
        auto rotation = static_cast<std::uint32_t>(old >> 59u);
        return (xorshifted >> rotation) | (xorshifted << ((32u - rotation) & 31u));
    }
};

Generator generator;

} // namespace

float rnd() {
    // 24 random bits fill a float's mantissa exactly, so the value is always below 1.
    return static_cast<float>(generator.next() >> 8) * (1.0f / 16777216.0f);
}

void seedRandom(std::uint64_t seed) {
    generator.seed = seed;
    generator.state = 0;
    generator.increment = (seed << 1u) | 1u;
    generator.next();
    generator.state += 0x853c49e6748fea9bULL ^ seed;
    generator.next();
}

void seedRandomFromClock() {
    if (generator.pinned) {
        return;
    }
    auto now = std::chrono::high_resolution_clock::now().time_since_epoch().count();
    seedRandom(static_cast<std::uint64_t>(now));
}

void pinRandomSeed(bool pinned) {
    generator.pinned = pinned;
}

bool randomSeedPinned() {
    return generator.pinned;
}

std::uint64_t randomSeed() {
    return generator.seed;
}

} // namespace vastorim
