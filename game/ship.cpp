#include "engine/music_clock.h"
#include "engine/numbers.h"
#include "engine/startup.h"
#include "game/mod_game_globals.h"
#include "game/mod_game_update.h"
#include "particles/clsEmitter.h"

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

void park(clsParticle& particle) {
    particle.dblX = kParkedX;
    particle.updateSprite();
}

void steer(Ship& ship) {
    clsParticle& particle = ship.particle;
    double turn = globals.frameTime * kTurnRate;
    if (ship.leftHeld) {
        particle.dblAngle = particle.dblAngle - turn;
    }
    if (ship.rightHeld) {
        particle.dblAngle = particle.dblAngle + turn;
    }
    if (ship.upHeld) {
        double heading = particle.dblAngle;
        particle.speedx.setKeyVal(0, particle.speedx.getValue(0) + kThrust * std::cos(heading));
        particle.speedy.setKeyVal(0, particle.speedy.getValue(0) + kThrust * std::sin(heading));
        particle.speedx.setKeyVal(0, clampSpeed(particle.speedx.getValue(0)));
        particle.speedy.setKeyVal(0, clampSpeed(particle.speedy.getValue(0)));
    }
    particle.dblX += globals.frameTime * particle.speedx.getValue(0) * kPixelsPerUnit;
    particle.dblY += globals.frameTime * particle.speedy.getValue(0) * kPixelsPerUnit;
}

// Green at full health, red at none.
void tint(clsParticle& particle) {
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
    clsParticle& particle = ship.particle;
    world.scratchEffect = emitter.getEffect("engine1.txt");
    if (world.scratchEffect != nullptr) {
        std::string backwards = numberToText(particle.dblAngle + std::numbers::pi);
        for (std::int16_t k = 0; k < world.scratchEffect->getParticles(); ++k) {
            world.scratchEffect->getParticle(k)->seed = backwards;
        }
    }
    emitter.spawnEffect(particle.dblX, particle.dblY, "engine1.txt");
    ship.engineTimer = 0;
}

} // namespace

void updateShip(std::int16_t i) {
    Ship& ship = world.ships[i];
    clsParticle& particle = ship.particle;
    if (particle.damage == 0) {
        park(particle);
        return;
    }
    if (particle.damage < 0 && music.fourBeatFlag) {
        particle.damage = 0;
        emitter.spawnEffect(particle.dblX, particle.dblY, "explode_ship.txt");
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
void bounce(double& position, double edge, clsTrack& speed) {
    position = edge;
    speed.setKeyVal(0, -speed.getValue(0) * 0.5);
}

} // namespace

void confineShip(std::int16_t i) {
    clsParticle& particle = world.ships[i].particle;
    if (particle.dblX < 0) {
        bounce(particle.dblX, 0, particle.speedx);
    }
    if (particle.dblX > 1024) {
        bounce(particle.dblX, 1024, particle.speedx);
    }
    if (particle.dblY < 0) {
        bounce(particle.dblY, 0, particle.speedy);
    }
    if (particle.dblY > 768) {
        bounce(particle.dblY, 768, particle.speedy);
    }
}

} // namespace vastorim
