// The setup file: its switches and players, the ships made from it, and one frame of the world
// with them in it.
#include "engine/errors.h"
#include "engine/game_setup.h"
#include "engine/startup.h"
#include "fuzz/fuzz_support.h"
#include "game/world.h"
#include "game/world_loading.h"
#include "game/world_tables.h"

using namespace vastorim;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const bool loaded = [] {
        fuzzing::scratchProgramFolder(
            {"effects/player.txt", "effects/engine1.txt", "effects/weapon1_1.txt"});
        fuzzing::writeScratchFile("effects/effect list.txt",
                                  "player.txt\r\nengine1.txt\r\nweapon1_1.txt\r\nEND\r\n");
        loadEffectList();
        return true;
    }();
    (void)loaded;
    fuzzing::writeScratchFile("game setup.txt", fuzzing::asText(data, size));
    resetGameSetup();
    try {
        loadGameSetup();
        loadPlayers();
    } catch (const DataError&) {
        return 0;
    }
    globals.gameMode = 1;
    fireWeapons();
    updateAsteroids();
    updateWorld();
    world.ships.clear();
    world.lastShip = -1;
    clearProjectiles();
    clearAsteroidsAndPickups();
    resetGlobalState();
    return 0;
}
