#include "game/world_loading.h"

#include "engine/app_path.h"
#include "engine/game_setup.h"
#include "engine/numbers.h"
#include "engine/random.h"
#include "engine/startup.h"
#include "engine/text_files.h"
#include "game/world_particles.h"
#include "game/world_tables.h"
#include "particles/emitter.h"

#include <numbers>

namespace vastorim {

void loadEffectList() {
    seedRandomFromClock();
    globals.globalFade = 1;
    emitter.initialize();
    readFileList(
        programFile("effects/effect list.txt"), "an effect file name",
        [](const std::string& name) { emitter.addEffect(programFile("effects/" + name)); });
}

namespace {

void createShipParticle(Ship& ship) {
    Particle& particle = ship.particle;
    loadBodyFromEffect(particle, "player.txt");
    world.playerEffect = world.scratchEffect;
    particle.angle = 2 * std::numbers::pi * rnd() + 8 * std::numbers::pi;
    particle.damage = 100;
    particle.colourR.setKeyVal(0, 255 - particle.damage);
    particle.colourG.setKeyVal(0, 155 + particle.damage);
    particle.colourB.setKeyVal(0, 0);
    particle.x = 512 * rnd() + 256;
    particle.y = 384 * rnd() + 192;
}

} // namespace

void loadPlayers() {
    std::vector<PlayerKeyNames> players = readPlayerKeyNames();
    world.lastShip = static_cast<std::int16_t>(players.size() - 1);
    world.ships.resize(players.size());
    for (std::size_t i = 0; i < players.size(); ++i) {
        Ship& ship = world.ships[i];
        std::array<std::string, 5>& names = players[i].names;
        ship.keyUp = keyCodeFromName(names[0]);
        ship.keyDown = keyCodeFromName(names[1]);
        ship.keyLeft = keyCodeFromName(names[2]);
        ship.keyRight = keyCodeFromName(names[3]);
        ship.keyFire = keyCodeFromName(names[4]);
        createShipParticle(ship);
        ship.weapon1Level = 1;
        ship.weapon2Level = 0;
        ship.weapon3Level = 0;
    }
}

void clearAsteroidsAndPickups() {
    world.lastAsteroid = -1;
    world.asteroids[0].size = kFreeSlot;
    world.lastPickup = -1;
}

void clearProjectiles() {
    world.lastShot = -1;
    world.shots[0].owner = kFreeSlot;
}

} // namespace vastorim
