#pragma once

#include <string>
#include <vector>

namespace vastorim {

// The effects the game spawns or reads by name, gathered so that content can be checked against
// them before the game meets a missing one.

// "weaponN_LEVEL.txt": what weapon n fires at a level from 1 to 4.
std::string weaponEffectName(int weapon, int level);

// The trail a weapon effect's shots leave: weapon 3's only ("weapon3_L_trail.txt"), else empty.
std::string trailEffectName(const std::string& weaponEffect);

// Every effect name the game spawns, each once.
std::vector<std::string> spawnedEffectNames();

} // namespace vastorim
