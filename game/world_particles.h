#pragma once

#include "particles/particle.h"

#include <string>

namespace vastorim {

// Makes a slot's particle as good as new and loads it from a particle string, reusing the
// object (and its storage) rather than allocating another one per spawn. Not baked.
void loadBody(Particle& particle, const std::string& particleString);

// The same from particle type 0 of a loaded effect (world.scratchEffect is left on it), then
// baked. Without such an effect the particle keeps the defaults.
void loadBodyFromEffect(Particle& particle, const std::string& effectName);

} // namespace vastorim
