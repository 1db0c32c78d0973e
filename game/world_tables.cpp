#include "game/world_tables.h"

#include "engine/text_case.h"

namespace vastorim {

WorldState world;

void resetWorld() {
    world = WorldState{};
}

std::int16_t keyCodeFromName(std::string& name) {
    name = asciiLower(name);
    struct Named {
        const char* name;
        std::int16_t code;
    };
    static constexpr Named kNamed[] = {{"up", 38},    {"down", 40},    {"left", 37},  {"right", 39},
                                       {"space", 32}, {"control", 17}, {"return", 13}};
    for (const Named& entry : kNamed) {
        if (name == entry.name) {
            return entry.code;
        }
    }
    if (name.empty()) {
        return 0;
    }
    return static_cast<std::int16_t>(std::toupper(static_cast<unsigned char>(name.front())));
}

void clearHeldKeys() {
    for (Ship& ship : world.ships) {
        ship.upHeld = ship.downHeld = ship.leftHeld = ship.rightHeld = ship.fireHeld = false;
    }
}

} // namespace vastorim
