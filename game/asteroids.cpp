#include "engine/music_clock.h"
#include "engine/numbers.h"
#include "engine/random.h"
#include "engine/startup.h"
#include "game/world.h"
#include "game/world_particles.h"
#include "game/world_tables.h"
#include "particles/emitter.h"

namespace vastorim {

namespace {

constexpr float kFullAlpha = 255;
constexpr float kRestingAlpha = 150;
constexpr float kAlphaFallPerSecond = 60;

float hitPoints(std::int16_t size) {
    return static_cast<float>((4 - size) * 20);
}

// Just outside one of the four edges, drifting at up to 50 pixels per second on each axis.
void enterFromEdge(Particle& particle) {
    float a = rnd();
    float b = rnd();
    if (b < 0.5f) {
        particle.x = a < 0.5f ? -15 : 1039;
        particle.y = rnd() * 768.0;
    } else {
        particle.y = a < 0.5f ? -15 : 783;
        particle.x = rnd() * 1024.0;
    }
    particle.speedX.setKeyVal(0, rnd() * 100.0 - 50);
    particle.speedY.setKeyVal(0, rnd() * 100.0 - 50);
}

// Fragments leave right and downwards, faster the faster the music plays.
void leaveParent(Particle& particle, const Particle& parent) {
    std::int32_t q = toLong(music.musicFrequency - 22000) / 100;
    particle.speedX.setKeyVal(0, rnd() * static_cast<double>(q) + 20);
    particle.speedY.setKeyVal(0, rnd() * static_cast<double>(q) + 20);
    particle.x = parent.x;
    particle.y = parent.y;
}

} // namespace

void spawnAsteroid(std::int16_t parent, const std::string& effectName) {
    std::int16_t j = allocateSlot(world.asteroids, world.lastAsteroid, &Asteroid::size);
    if (j < 0) {
        return;
    }
    Asteroid& asteroid = world.asteroids[j];
    Particle& particle = asteroid.particle;
    loadBodyFromEffect(particle, effectName);
    particle.killAt = 1;
    if (parent == -1) {
        enterFromEdge(particle);
        asteroid.size = 1;
    } else {
        const Asteroid& source = world.asteroids[parent];
        leaveParent(particle, source.particle);
        asteroid.size = static_cast<std::int16_t>(source.size + 1);
    }
    particle.damage = hitPoints(asteroid.size);
}

void updateAsteroids() {
    std::int16_t last = world.lastAsteroid;
    for (std::int16_t k = 0; k <= last; ++k) {
        if (world.asteroids[k].size != kFreeSlot) {
            updateAsteroid(k);
        }
    }
}

void updateAsteroid(std::int16_t k) {
    Asteroid& asteroid = world.asteroids[k];
    Particle& particle = asteroid.particle;
    const float frameTime = globals.frameTime;
    if (particle.killAt <= particle.age) {
        particle.age = particle.killAt;
        bool breaksNow = asteroid.size == 3 ? music.beatFlag : music.fourBeatFlag;
        if (breaksNow) {
            breakAsteroid(k);
            return;
        }
    }
    particle.angle = particle.angle + frameTime * particle.rotation.getValue(0);

    particle.colourR.setKeyVal(0, 255);
    particle.colourG.setKeyVal(0, particle.damage / hitPoints(asteroid.size) * 255);
    particle.colourB.setKeyVal(0, particle.colourG.getValue(0));

    if (music.fourBeatFlag) {
        particle.colourA.setKeyVal(0, kFullAlpha);
    }
    double alpha = particle.colourA.getValue(0);
    if (alpha > kRestingAlpha) {
        alpha -= frameTime * kAlphaFallPerSecond;
        particle.colourA.setKeyVal(0, alpha < kRestingAlpha ? kRestingAlpha : alpha);
    }

    particle.x += frameTime * particle.speedX.getValue(0);
    particle.y += frameTime * particle.speedY.getValue(0);
    asteroid.cell = gridCell(particle.x, particle.y);
    confineAsteroid(k);
    hitShipsWithAsteroid(k);
    particle.updateSprite();
}

namespace {

void reverse(Track& speed) {
    speed.setKeyVal(0, -speed.getValue(0));
}

} // namespace

// Turns an asteroid back when it reaches an edge moving outwards; its position stays, so one
// spawned outside the field with an inward velocity flies in.
void confineAsteroid(std::int16_t k) {
    Asteroid& asteroid = world.asteroids[k];
    Particle& particle = asteroid.particle;
    const double r = asteroid.radius();
    if (particle.x - r < 0 && particle.speedX.getValue(0) < 0) {
        reverse(particle.speedX);
    }
    if (particle.x + r > 1024 && particle.speedX.getValue(0) > 0) {
        reverse(particle.speedX);
    }
    if (particle.y - r < 0 && particle.speedY.getValue(0) < 0) {
        reverse(particle.speedY);
    }
    if (particle.y + r > 768 && particle.speedY.getValue(0) > 0) {
        reverse(particle.speedY);
    }
}

void breakAsteroid(std::int16_t k) {
    splitAsteroid(k);
    const Asteroid& asteroid = world.asteroids[k];
    double x = asteroid.particle.x;
    double y = asteroid.particle.y;
    switch (asteroid.size) {
    case 1:
        emitter.spawnEffect(x, y, "explode_large.txt");
        if (toInteger(2 * rnd()) == 1) {
            spawnPickup(x, y);
        }
        break;
    case 2:
        emitter.spawnEffect(x, y, "explode_medium.txt");
        break;
    default:
        emitter.spawnEffect(x, y, "explode_small.txt");
        break;
    }
    releaseSlot(world.asteroids, world.lastAsteroid, &Asteroid::size, k);
}

void splitAsteroid(std::int16_t k) {
    std::int16_t size = world.asteroids[k].size;
    if (size == 3) {
        return;
    }
    std::string prefix = "asteroid" + std::to_string(size + 1);
    spawnAsteroid(k, prefix + "_1.txt");
    spawnAsteroid(k, prefix + "_2.txt");
}

} // namespace vastorim
