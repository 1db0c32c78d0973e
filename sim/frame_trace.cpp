#include "sim/frame_trace.h"

#include "engine/music_clock.h"
#include "engine/numbers.h"
#include "engine/startup.h"
#include "game/world.h"
#include "game/world_tables.h"
#include "particles/emitter.h"

#include <nlohmann/json.hpp>

#include <cmath>

namespace vastorim {
namespace {

using Json = nlohmann::ordered_json;

// A number as the game keeps numbers, rounded to 15 significant digits, so that the same run
// writes the same bytes on every machine: a whole value below 1E+15 as an integer (no ".0"),
// any other value as the JSON library's round-trip text of the rounded value (the 15 digits
// themselves, or about once in 5000 numbers up to 17 digits that read back as the same value).
// Values that are not finite are null.
Json number(double value) {
    if (!std::isfinite(value)) {
        return nullptr;
    }
    const double rounded = round15(value);
    constexpr double kLargestPlainWhole = 1e15;
    if (rounded == std::trunc(rounded) && std::fabs(rounded) < kLargestPlainWhole) {
        return static_cast<std::int64_t>(rounded);
    }
    return rounded;
}

Json shipsJson() {
    Json ships = Json::array();
    for (const Ship& ship : world.ships) {
        const Particle& p = ship.particle;
        ships.push_back({{"x", number(p.x)},
                         {"y", number(p.y)},
                         {"angle", number(p.angle)},
                         {"damage", number(p.damage)},
                         {"vx", number(p.speedX.getValue(0))},
                         {"vy", number(p.speedY.getValue(0))},
                         {"w1", ship.weapon1Level},
                         {"w2", ship.weapon2Level},
                         {"w3", ship.weapon3Level}});
    }
    return ships;
}

template <class Slot>
int occupied(const std::vector<Slot>& table, std::int16_t last, std::int16_t Slot::*marker) {
    int count = 0;
    for (int i = 0; i <= last; ++i) {
        count += table[i].*marker != kFreeSlot;
    }
    return count;
}

} // namespace

std::string traceLine(std::int64_t frame, std::int64_t tick, int drawCalls) {
    const Json line = {
        {"frame", frame},
        {"tick", tick},
        {"gameMode", globals.gameMode},
        {"menuScreen", globals.menuScreen},
        {"menuCursor", globals.menuCursor},
        {"screenStep", globals.screenStep},
        {"gamePaused", globals.gamePaused},
        {"finalTime", globals.finalTime},
        {"elapsed", elapsedGameTime()},
        {"globalFade", number(globals.globalFade)},
        {"musicFrequency", number(music.musicFrequency)},
        {"playPos", music.playPos},
        {"halfBeat", music.halfBeatFlag},
        {"beat", music.beatFlag},
        {"twoBeat", music.twoBeatFlag},
        {"fourBeat", music.fourBeatFlag},
        {"ships", shipsJson()},
        {"asteroids", occupied(world.asteroids, world.lastAsteroid, &Asteroid::size)},
        {"shots", occupied(world.shots, world.lastShot, &Shot::owner)},
        {"pickups", world.lastPickup + 1},
        {"particles", emitter.getParticles()},
        {"drawCalls", drawCalls},
        {"playerName", globals.playerName},
        {"scorePlace", world.scorePlace}};
    // The name is the player's typing: never let a stray byte stop the trace.
    return line.dump(-1, ' ', false, Json::error_handler_t::replace);
}

} // namespace vastorim
