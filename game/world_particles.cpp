#include "game/world_particles.h"

#include "game/world_tables.h"
#include "particles/emitter.h"

namespace vastorim {

namespace {

// What a new particle has before it is loaded; loading sets everything else.
void clearState(Particle& particle) {
    particle.x = 0;
    particle.y = 0;
    particle.angle = 0;
    particle.seed = 0;
    particle.age = 0;
    particle.spawnedAt = 0;
    particle.killAt = 0;
    particle.damage = 0;
}

} // namespace

void loadBody(Particle& particle, const std::string& particleString) {
    clearState(particle);
    particle.loadParticleString(particleString);
}

void loadBodyFromEffect(Particle& particle, const std::string& effectName) {
    world.scratchEffect = emitter.getEffect(effectName);
    const Particle* type =
        world.scratchEffect != nullptr ? world.scratchEffect->getParticle(0) : nullptr;
    if (type != nullptr) {
        loadBody(particle, type->getParticleString());
    } else {
        clearState(particle);
        particle.initialize();
    }
    particle.bakeKeys();
}

} // namespace vastorim
