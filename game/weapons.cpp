#include "engine/music_clock.h"
#include "engine/numbers.h"
#include "engine/startup.h"
#include "game/effect_names.h"
#include "game/world.h"
#include "game/world_particles.h"
#include "game/world_tables.h"
#include "particles/emitter.h"

namespace vastorim {

namespace {

constexpr float kTrailInterval = 0.05f;

struct WeaponPower {
    float low;  // levels 1 to lowUpTo
    float high; // the levels above, up to 4
    std::int16_t lowUpTo;
};

// Weapon n at its level fires "weaponN_LEVEL.txt"; level 0 (not owned) fires nothing.
void fireAtLevel(std::int16_t ship, int weapon, std::int16_t level, WeaponPower power) {
    if (level < 1 || level > 4) {
        return;
    }
    fireWeapon(ship, weaponEffectName(weapon, level),
               level <= power.lowUpTo ? power.low : power.high);
}

void puffTrail(Shot& shot) {
    Particle& particle = shot.particle;
    world.scratchEffect = emitter.getEffect(shot.trailEffect);
    if (world.scratchEffect != nullptr) {
        std::string heading = particle.angle.text();
        for (std::int16_t k = 0; k < world.scratchEffect->getParticles(); ++k) {
            world.scratchEffect->getParticle(k)->seedExpression = heading;
        }
    }
    emitter.spawnEffect(particle.x, particle.y, shot.trailEffect);
    shot.trailTimer = 0;
}

} // namespace

void fireWeapons() {
    for (int i = 0; i <= world.lastShip; ++i) {
        const Ship& ship = world.ships[i];
        if (!ship.fireHeld) {
            continue;
        }
        if (music.halfBeatFlag) {
            fireAtLevel(i, 2, ship.weapon2Level, {2, 5, 3});
        }
        if (music.beatFlag) {
            fireAtLevel(i, 1, ship.weapon1Level, {5, 10, 2});
        }
        if (music.twoBeatFlag) {
            fireAtLevel(i, 3, ship.weapon3Level, {20, 30, 2});
        }
    }
    std::int16_t last = world.lastShot;
    for (std::int16_t j = 0; j <= last; ++j) {
        if (world.shots[j].owner != kFreeSlot) {
            updateShot(j);
        }
    }
}

void fireWeapon(std::int16_t ship, const std::string& effectName, float power) {
    world.scratchEffect = emitter.getEffect(effectName);
    Effect* effect = world.scratchEffect;
    if (effect == nullptr) {
        return;
    }
    for (std::int16_t k = 0; k < effect->getParticles(); ++k) {
        spawnShot(ship, effect->getParticle(k)->getParticleString(), power, effectName);
    }
}

void spawnShot(std::int16_t ship, const std::string& particleString, float power,
               const std::string& effectName) {
    std::int16_t j = allocateSlot(world.shots, world.lastShot, &Shot::owner);
    if (j < 0) {
        return;
    }
    Shot& shot = world.shots[j];
    const Particle& firing = world.ships[ship].particle;
    shot.owner = ship;
    shot.trailEffect = trailEffectName(effectName);
    Particle& particle = shot.particle;
    loadBody(particle, particleString);
    // The weapon's key expressions read the seed, so they aim along the heading.
    particle.seedExpression = numberToText(firing.angle);
    particle.damage = power;
    particle.bakeKeys();
    particle.x = firing.x + particle.x;
    particle.y = firing.y + particle.y;
}

void updateShot(std::int16_t j) {
    Shot& shot = world.shots[j];
    Particle& particle = shot.particle;
    if (particle.killAt <= particle.age) {
        particle.age = particle.killAt;
        freeShot(j);
        return;
    }
    if (!shot.trailEffect.empty()) {
        shot.trailTimer += globals.frameTime;
    }
    if (shot.trailTimer > kTrailInterval) {
        puffTrail(shot);
    }
    shot.cell = gridCell(particle.x, particle.y);
    hitAsteroidsWithShot(j);
    if (particle.killAt > particle.age) {
        particle.updateParticle();
    }
    particle.updateSprite();
}

void freeShot(std::int16_t j) {
    releaseSlot(world.shots, world.lastShot, &Shot::owner, j);
}

} // namespace vastorim
