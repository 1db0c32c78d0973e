#include "game/world_particles.h"

#include "game/mod_game_globals.h"
#include "particles/clsEmitter.h"

namespace vastorim {

namespace {

// What a new particle has before it is loaded; loading sets everything else.
void clearState(clsParticle& particle) {
    particle.dblX = 0;
    particle.dblY = 0;
    particle.dblAngle = 0;
    particle.dblSeed = 0;
    particle.dblTime = 0;
    particle.lngSpawnedAt = 0;
    particle.lngKillat = 0;
    particle.damage = 0;
    particle.intParticleTextureIndex = 0;
}

} // namespace

void loadBody(clsParticle& particle, const std::string& particleString) {
    clearState(particle);
    particle.loadParticleString(particleString);
}

void loadBodyFromEffect(clsParticle& particle, const std::string& effectName) {
    world.scratchEffect = emitter.getEffect(effectName);
    const clsParticle* type =
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
