#pragma once

#include "engine/app_path.h"
#include "engine/startup.h"
#include "engine/textures.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

namespace vastorim::test {

// A temporary program folder as the app path, start-up globals, no textures and empty hooks;
// the engine's state is put back the same way afterwards, so that tests start clean in one
// process.
class EngineTest : public ::testing::Test {
  protected:
    EngineTest() {
        cleanEngine();
        setAppPath(folder.path());
    }
    ~EngineTest() override {
        cleanEngine();
        setAppPath(".");
    }
    static void cleanEngine() {
        hooks = EngineHooks{};
        resetGlobalState();
        resetTextureList();
    }

    TempFolder folder;
};

} // namespace vastorim::test
