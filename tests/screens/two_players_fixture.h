#pragma once

#include "engine/startup.h"
#include "game/world_tables.h"
#include "screens/game_hooks.h"

#include <gtest/gtest.h>

namespace vastorim {

// The screens from a clean start with two players in the ship table; the world and the globals
// are put back afterwards.
class TwoPlayers : public ::testing::Test {
  protected:
    void SetUp() override {
        resetGlobalState();
        resetWorld();
        resetScreens();
        world.ships.resize(2);
        world.lastShip = 1;
    }
    void TearDown() override {
        resetWorld();
        resetGlobalState();
    }
};

} // namespace vastorim
