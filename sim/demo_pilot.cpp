#include "sim/demo_pilot.h"

#include "engine/startup.h"
#include "game/world_tables.h"
#include "particles/emitter.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <optional>

namespace vastorim {
namespace {

constexpr int keyReturn = 13, keyEscape = 27, keyArrowUp = 38;

// How far ahead the pilot looks for collisions, and how wide a berth it wants.
constexpr double lookAhead = 1.2;       // seconds
constexpr double safetyMargin = 35;     // pixels beyond an asteroid's radius
constexpr double pickupReach = 1300;    // pixels: pickups further away are left for later
constexpr double cruiseSpeed = 90;      // pixels per second before the pilot brakes
constexpr double shipSpeedScale = 20;   // pixels per second per unit of the ship's speed tracks
constexpr double turnDeadZone = 0.033;  // radians: close enough, stop turning (a frame turns 0.064)
constexpr double shotSpeed = 460;       // pixels per second of the first weapon's shots
constexpr double largePreference = 0.6; // large targets count as this much nearer
constexpr int menuPause = 15;           // frames between menu key presses

struct Vec {
    double x = 0, y = 0;
    Vec operator+(Vec o) const { return {x + o.x, y + o.y}; }
    Vec operator-(Vec o) const { return {x - o.x, y - o.y}; }
    Vec operator*(double s) const { return {x * s, y * s}; }
    double dot(Vec o) const { return x * o.x + y * o.y; }
    double length() const { return std::sqrt(dot(*this)); }
    double angle() const { return std::atan2(y, x); }
};

// The difference b - a folded into -pi..pi: the shortest turn from a to b.
double turnBetween(double a, double b) {
    constexpr double turn = 2 * std::numbers::pi;
    double difference = std::fmod(b - a + std::numbers::pi, turn);
    if (difference < 0) {
        difference += turn;
    }
    return difference - std::numbers::pi;
}

struct Course {
    double heading;
    bool thrust;
};

// The asteroid that will come closest within the look-ahead, as the direction to flee in.
std::optional<double> fleeHeading(Vec position, Vec velocity) {
    std::optional<double> heading;
    double soonest = lookAhead + 1;
    for (int k = 0; k <= world.lastAsteroid; ++k) {
        const Asteroid& asteroid = world.asteroids[k];
        const Particle& p = asteroid.particle;
        if (asteroid.size == kFreeSlot || p.killAt == 0 || p.damage == 0) {
            continue;
        }
        const Vec offset = Vec{p.x, p.y} - position;
        const Vec closing = Vec{p.speedX.getValue(0), p.speedY.getValue(0)} - velocity;
        const double speedSquared = closing.dot(closing);
        double when = speedSquared > 0 ? -offset.dot(closing) / speedSquared : 0;
        when = std::clamp(when, 0.0, lookAhead);
        const Vec nearest = offset + closing * when;
        const double reach = asteroid.radius() + safetyMargin;
        if (nearest.length() < reach && when < soonest) {
            soonest = when;
            const Vec away = nearest * -1.0;
            heading = away.length() > 0 ? away.angle() : closing.angle() + std::numbers::pi / 2;
        }
    }
    return heading;
}

std::optional<Vec> nearestPickup(Vec position) {
    std::optional<Vec> best;
    double bestDistance = pickupReach;
    for (int m = 0; m <= world.lastPickup; ++m) {
        const Particle* p = emitter.getParticle(world.pickups[m]);
        if (p == nullptr) {
            continue;
        }
        const Vec at{p->x, p->y};
        const double distance = (at - position).length();
        if (distance < bestDistance) {
            bestDistance = distance;
            best = at;
        }
    }
    return best;
}

struct Target {
    Vec position;
    Vec velocity;
    double distance;
};

bool isTarget(int k) {
    return k >= 0 && k <= world.lastAsteroid && world.asteroids[k].size != kFreeSlot &&
           world.asteroids[k].particle.damage != 0;
}

Target targetAt(int k, Vec position) {
    const Particle& p = world.asteroids[k].particle;
    const Vec at{p.x, p.y};
    return Target{at, {p.speedX.getValue(0), p.speedY.getValue(0)}, (at - position).length()};
}

// The asteroid locked on last time while it lasts (switching targets wastes turns), else the
// nearest, large ones counted nearer: only they leave pickups behind.
std::optional<Target> chooseTarget(Vec position, int& locked) {
    if (!isTarget(locked)) {
        locked = -1;
        double bestScore = 0;
        for (int k = 0; k <= world.lastAsteroid; ++k) {
            if (!isTarget(k)) {
                continue;
            }
            const double score = targetAt(k, position).distance *
                                 (world.asteroids[k].size == 1 ? largePreference : 1.0);
            if (locked < 0 || score < bestScore) {
                locked = k;
                bestScore = score;
            }
        }
    }
    if (locked < 0) {
        return std::nullopt;
    }
    return targetAt(locked, position);
}

// Where a shot fired now meets the target, near enough: two rounds of flight-time correction.
Vec interceptPoint(Vec from, const Target& target) {
    Vec aim = target.position;
    for (int round = 0; round < 2; ++round) {
        aim = target.position + target.velocity * ((aim - from).length() / shotSpeed);
    }
    return aim;
}

// Fleeing beats collecting, collecting beats braking, braking beats aiming.
std::optional<Course> chooseCourse(Vec position, Vec velocity, double heading, int& locked) {
    if (const auto flee = fleeHeading(position, velocity)) {
        return Course{*flee, std::fabs(turnBetween(heading, *flee)) < 1.0};
    }
    if (const auto pickup = nearestPickup(position)) {
        const double toward = (*pickup - position).angle();
        const bool aligned = std::fabs(turnBetween(heading, toward)) < 0.5;
        return Course{toward, aligned && velocity.length() < cruiseSpeed * 1.5};
    }
    if (velocity.length() > cruiseSpeed) {
        const double against = (velocity * -1.0).angle();
        return Course{against, std::fabs(turnBetween(heading, against)) < 0.5};
    }
    if (const auto target = chooseTarget(position, locked)) {
        const double toward = (interceptPoint(position, *target) - position).angle();
        // Holding position while shooting hits more often than closing in.
        return Course{toward, false};
    }
    return std::nullopt;
}

} // namespace

std::array<bool, DemoPilot::ActionCount> DemoPilot::steer() {
    std::array<bool, ActionCount> wanted{};
    const Particle& ship = world.ships[0].particle;
    if (ship.damage <= 0) {
        return wanted;
    }
    const Vec position{ship.x, ship.y};
    const Vec velocity = Vec{ship.speedX.getValue(0), ship.speedY.getValue(0)} * shipSpeedScale;
    const double heading = ship.angle;
    wanted[Fire] = true;
    if (const auto course = chooseCourse(position, velocity, heading, lockedTarget)) {
        const double turn = turnBetween(heading, course->heading);
        wanted[Left] = turn < -turnDeadZone;
        wanted[Right] = turn > turnDeadZone;
        wanted[Up] = course->thrust;
    }
    return wanted;
}

void DemoPilot::pressOnce(std::vector<ScriptEvent>& events, std::int64_t frame, int keyCode) {
    events.push_back({frame, ScriptEvent::Kind::KeyDown, keyCode});
    pendingRelease = keyCode;
}

void DemoPilot::holdOnly(std::vector<ScriptEvent>& events, std::int64_t frame,
                         const std::array<bool, ActionCount>& wanted) {
    const Ship& ship = world.ships[0];
    const std::array<int, ActionCount> bound{ship.keyUp, ship.keyLeft, ship.keyRight, ship.keyFire};
    for (int a = 0; a < ActionCount; ++a) {
        if (wanted[a] && heldCodes[a] == 0 && bound[a] != 0) {
            heldCodes[a] = bound[a];
            events.push_back({frame, ScriptEvent::Kind::KeyDown, heldCodes[a]});
        } else if (!wanted[a] && heldCodes[a] != 0) {
            events.push_back({frame, ScriptEvent::Kind::KeyUp, heldCodes[a]});
            heldCodes[a] = 0;
        }
    }
}

std::vector<ScriptEvent> DemoPilot::decide(std::int64_t frame) {
    std::vector<ScriptEvent> events;
    if (pendingRelease != 0) {
        events.push_back({frame, ScriptEvent::Kind::KeyUp, pendingRelease});
        pendingRelease = 0;
    }
    if (world.ships.empty()) {
        return events;
    }
    if (globals.gameMode == 1 && globals.finalTime == 0) {
        holdOnly(events, frame, steer());
        return events;
    }
    holdOnly(events, frame, {});
    if (frame < nextMenuFrame || !events.empty()) {
        return events;
    }
    nextMenuFrame = frame + menuPause;
    if (globals.gameMode == 1) {
        // Game over: watch the fade to the end, then back to the menu.
        if (globals.globalFade <= 0) {
            pressOnce(events, frame, keyEscape);
        }
    } else if (globals.menuScreen != 0) {
        pressOnce(events, frame, keyEscape);
    } else if (globals.menuCursor > 0) {
        pressOnce(events, frame, keyArrowUp);
    } else {
        const int fire = world.ships[0].keyFire;
        pressOnce(events, frame, fire != 0 ? fire : keyReturn);
    }
    return events;
}

} // namespace vastorim
