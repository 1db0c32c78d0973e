#include "engine/game_setup.h"
#include "engine/math_functions.h"
#include "engine/music_clock.h"
#include "engine/numbers.h"
#include "engine/random.h"
#include "engine/startup.h"
#include "game/world.h"
#include "game/world_tables.h"
#include "particles/emitter.h"

#include <algorithm>
#include <cmath>

namespace vastorim {

namespace {

constexpr float kPickupRadius = 20;
constexpr float kSmallSparkBelow = 5;
constexpr std::int16_t kTopLevel = 4;

float distance(const Particle& a, const Particle& b) {
    return approxDistance(static_cast<float>(a.x), static_cast<float>(b.x), static_cast<float>(a.y),
                          static_cast<float>(b.y));
}

// Keeps the conversion to Long defined however far an object has flown, and for a position
// that an effect file made undefined (such an object never passes a distance test anyway).
double onGrid(double v) {
    return std::isnan(v) ? 0 : std::clamp(v, -1e9, 1e9);
}

void raiseWeapon(Ship& ship) {
    std::int16_t w = toInteger(2 * rnd());
    if (w == 0 && ship.weapon1Level == kTopLevel) {
        w = 1;
    }
    if (w == 1 && ship.weapon2Level == kTopLevel) {
        w = 2;
    }
    if (w == 0) {
        ++ship.weapon1Level;
    } else if (w == 1) {
        ++ship.weapon2Level;
    } else if (ship.weapon3Level < kTopLevel) {
        ++ship.weapon3Level;
    }
}

} // namespace

std::int32_t gridCell(double x, double y) {
    return toLong(onGrid(x)) / 100 + toLong(onGrid(y)) / 100 * 10;
}

void hitShipsWithAsteroid(std::int16_t k) {
    if (globals.globalFade < 1) {
        return;
    }
    Asteroid& asteroid = world.asteroids[k];
    Particle& rock = asteroid.particle;
    const double r = asteroid.radius();
    for (int i = 0; i <= world.lastShip; ++i) {
        Particle& ship = world.ships[i].particle;
        bool touches =
            r > distance(rock, ship) && rock.killAt != 0 && rock.damage != 0 && ship.damage > 0;
        if (!touches) {
            continue;
        }
        ship.speedX.setKeyVal(0, -ship.speedX.getValue(0));
        ship.speedY.setKeyVal(0, -ship.speedY.getValue(0));
        ship.damage -= static_cast<float>((4 - asteroid.size) * 4);
        // Every death passes through dying, so the explosion plays.
        if (ship.damage == 0) {
            ship.damage = -1;
        }
        rock.killAt = 0;
        rock.damage = 0;
    }
}

void hitAsteroidsWithShot(std::int16_t j) {
    Shot& shot = world.shots[j];
    Particle& bolt = shot.particle;
    std::int16_t last = world.lastAsteroid;
    for (std::int16_t k = 0; k <= last; ++k) {
        Asteroid& asteroid = world.asteroids[k];
        if (asteroid.size == kFreeSlot || asteroid.cell != shot.cell) {
            continue;
        }
        Particle& rock = asteroid.particle;
        if (!(asteroid.radius() > distance(bolt, rock))) {
            continue;
        }
        rock.damage -= bolt.damage;
        if (rock.damage <= 0) {
            rock.damage = 0;
            rock.killAt = 0;
        }
        if (hitEffects && bolt.damage > 0) {
            emitter.spawnEffect(bolt.x, bolt.y,
                                bolt.damage < kSmallSparkBelow ? "hit_small.txt"
                                                               : "hit_medium.txt");
        }
        bolt.damage = 0;
        bolt.killAt = 0;
    }
}

void collectPickup(std::int16_t i) {
    Ship& ship = world.ships[i];
    for (std::int16_t m = 0; m <= world.lastPickup; ++m) {
        const Particle* cloud = emitter.getParticle(world.pickups[m]);
        if (cloud == nullptr || !(distance(ship.particle, *cloud) < kPickupRadius)) {
            continue;
        }
        raiseWeapon(ship);
        emitter.spawnEffect(cloud->x, cloud->y, "pickup_over.txt");
        removePickup(m);
        return;
    }
}

void spawnPickup(double x, double y) {
    ++world.lastPickup;
    world.pickups.resize(static_cast<std::size_t>(world.lastPickup) + 1);
    world.pickups[world.lastPickup] = emitter.spawnEffect(x, y, "pickup.txt");
}

// One pickup per beat leaves the list: the first whose emitter slot has been taken by a
// particle of another type.
void expirePickups() {
    if (!music.beatFlag) {
        return;
    }
    for (std::int16_t m = 0; m <= world.lastPickup; ++m) {
        const Particle* cloud = emitter.getParticle(world.pickups[m]);
        if (cloud == nullptr || cloud->name != "pickup") {
            removePickup(m);
            return;
        }
    }
}

void removePickup(std::int16_t m) {
    if (world.lastPickup == 0) {
        world.lastPickup = -1;
        return;
    }
    world.pickups.erase(world.pickups.begin() + m);
    --world.lastPickup;
    world.pickups.resize(static_cast<std::size_t>(world.lastPickup) + 1);
}

} // namespace vastorim
