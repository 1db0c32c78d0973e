#pragma once

#include "engine/sprite.h"
#include "support/test_support.h"

#include "platform/video.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace vastorim::test {

// An open offscreen surface as the engine's current video, an empty texture registry, start-up
// globals and empty hooks; everything is put back afterwards.
class SurfaceTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // Loads a size x size picture of one colour written into the temporary folder under name.
    void addTexture(const std::string& name, std::uint32_t argb, int size = 16);

    // Draws one frame in which the mode's drawing renders these sprites in order.
    std::vector<std::uint32_t> drawFrame(std::vector<Sprite>& sprites);
    std::vector<std::uint32_t> drawFrame(Sprite sprite);

    TempFolder folder;
    std::unique_ptr<platform::Video> video;
};

// A sprite tinted by setPoints with the current globalFade.
Sprite makeSprite(const std::string& texture, float x, float y, float sizeX, float sizeY,
                  float angle = 0, std::int16_t blend = 0, float r = 255, float g = 255,
                  float b = 255, float a = 255);

struct Probe {
    int x, y;
    std::uint32_t rgb;
};

// Every probed pixel has its colour, each channel within tolerance.
void expectPixels(const std::vector<std::uint32_t>& pixels, const std::vector<Probe>& probes,
                  int tolerance = 1);

} // namespace vastorim::test
