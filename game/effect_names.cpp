#include "game/effect_names.h"

namespace vastorim {

std::string weaponEffectName(int weapon, int level) {
    return "weapon" + std::to_string(weapon) + "_" + std::to_string(level) + ".txt";
}

std::string trailEffectName(const std::string& weaponEffect) {
    if (weaponEffect.compare(0, 7, "weapon3") != 0) {
        return {};
    }
    return weaponEffect.substr(0, weaponEffect.size() - 4) + "_trail.txt";
}

std::vector<std::string> spawnedEffectNames() {
    std::vector<std::string> names = {
        "player.txt",       "explode_large.txt", "explode_medium.txt", "explode_small.txt",
        "explode_ship.txt", "hit_small.txt",     "hit_medium.txt",     "pickup.txt",
        "pickup_over.txt",  "engine1.txt",       "background.txt",     "menuback.txt",
        "asteroid1_1.txt",  "asteroid1_2.txt",   "asteroid2_1.txt",    "asteroid2_2.txt",
        "asteroid3_1.txt",  "asteroid3_2.txt"};
    for (int weapon = 1; weapon <= 3; ++weapon) {
        for (int level = 1; level <= 4; ++level) {
            names.push_back(weaponEffectName(weapon, level));
            if (const std::string trail = trailEffectName(names.back()); !trail.empty()) {
                names.push_back(trail);
            }
        }
    }
    return names;
}

} // namespace vastorim
