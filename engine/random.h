#pragma once

#include <cstdint>

namespace vastorim {

// The one process-wide uniform generator of single-precision values in [0, 1). Expressions, the
// world and the loaders all draw from it, so the order of draws decides what a seed produces.
float rnd();

void seedRandom(std::uint64_t seed);

// Seeds from the wall clock; headless runs and tests call seedRandom instead, and can pin the
// generator so that the game's own clock seeding leaves it alone.
void seedRandomFromClock();

// While pinned, seedRandomFromClock does nothing: a headless run keeps its --seed through
// start-up and effect loading.
void pinRandomSeed(bool pinned);
bool randomSeedPinned();

// The seed given last (a replay records it).
std::uint64_t randomSeed();

} // namespace vastorim
