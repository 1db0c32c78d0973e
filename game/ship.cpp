#include "engine/math_functions.h"
#include "engine/music_clock.h"
#include "engine/numbers.h"
#include "engine/startup.h"
#include "game/world.h"
#include "game/world_tables.h"
#include "particles/emitter.h"

#include <cmath>
#include <numbers>

namespace vastorim {

namespace {

constexpr double kTurnRate = 4.0;     // radians per second
constexpr double kThrust = 0.5;       // velocity units per thrusting frame
constexpr double kMaxSpeed = 10;      // per axis, enforced in thrusting frames only
constexpr double kPixelsPerUnit = 20; // velocity unit in pixels per second
constexpr double kParkedX = -1000;
constexpr float kExhaustInterval = 0.02f;

double clampSpeed(double v) {
    if (v > kMaxSpeed) {
        return kMaxSpeed;
    }
    if (v < -kMaxSpeed) {
        return -kMaxSpeed;
    }
    return v;
}

void park(Particle& particle) {
    particle.x = kParkedX;
    particle.updateSprite();
}

void steer(Ship& ship) {
    Particle& particle = ship.particle;
    double turn = globals.frameTime * kTurnRate;
    if (ship.leftHeld) {
        particle.angle = particle.angle - turn;
    }
    if (ship.rightHeld) {
        particle.angle = particle.angle + turn;
    }
    if (ship.upHeld) {
        double heading = particle.angle;
        particle.speedX.setKeyVal(0, particle.speedX.getValue(0) + kThrust * cosine(heading));
        particle.speedY.setKeyVal(0, particle.speedY.getValue(0) + kThrust * sine(heading));
        particle.speedX.setKeyVal(0, clampSpeed(particle.speedX.getValue(0)));
        particle.speedY.setKeyVal(0, clampSpeed(particle.speedY.getValue(0)));
    }
    particle.x += globals.frameTime * particle.speedX.getValue(0) * kPixelsPerUnit;
    particle.y += globals.frameTime * particle.speedY.getValue(0) * kPixelsPerUnit;
}

// Green at full health, red at none.
void tint(Particle& particle) {
    std::int16_t health = toInteger(particle.damage);
    if (health < 0) {
        health = 0;
    }
    particle.colourR.setKeyVal(0, 255 - health * 2.5);
    particle.colourG.setKeyVal(0, health * 2.5 + 5);
}

// One exhaust puff at most per frame, blown out backwards once enough thrust has built up.
void exhaust(Ship& ship) {
    if (ship.upHeld) {
        ship.engineTimer += globals.frameTime;
    }
    if (ship.engineTimer <= kExhaustInterval) {
        return;
    }
    Particle& particle = ship.particle;
    world.scratchEffect = emitter.getEffect("engine1.txt");
    if (world.scratchEffect != nullptr) {
        std::string backwards = numberToText(particle.angle + std::numbers::pi);
        for (std::int16_t k = 0; k < world.scratchEffect->getParticles(); ++k) {
            world.scratchEffect->getParticle(k)->seedExpression = backwards;
        }
    }
    emitter.spawnEffect(particle.x, particle.y, "engine1.txt");
    ship.engineTimer = 0;
}

} // namespace

void updateShip(std::int16_t i) {
    Ship& ship = world.ships[i];
    Particle& particle = ship.particle;
    if (particle.damage == 0) {
        park(particle);
        return;
    }
    if (particle.damage < 0 && music.fourBeatFlag) {
        particle.damage = 0;
        emitter.spawnEffect(particle.x, particle.y, "explode_ship.txt");
        park(particle);
        return;
    }
    steer(ship);
    confineShip(i);
    collectPickup(i);
    tint(particle);
    particle.updateSprite();
    exhaust(ship);
}

namespace {

// Puts the coordinate back on the edge and bounces that velocity component at half speed.
void bounce(double& position, double edge, Track& speed) {
    position = edge;
    speed.setKeyVal(0, -speed.getValue(0) * 0.5);
}

} // namespace

void confineShip(std::int16_t i) {
    Particle& particle = world.ships[i].particle;
    if (particle.x < 0) {
        bounce(particle.x, 0, particle.speedX);
    }
    if (particle.x > 1024) {
        bounce(particle.x, 1024, particle.speedX);
    }
    if (particle.y < 0) {
        bounce(particle.y, 0, particle.speedY);
    }
    if (particle.y > 768) {
        bounce(particle.y, 768, particle.speedY);
    }
}

} // namespace vastorim
