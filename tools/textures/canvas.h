#pragma once

#include "platform/png_file.h"

#include <functional>

namespace vastorim::textures {

// Colour and coverage of one pixel, each 0..1.
struct Texel {
    float r = 0, g = 0, b = 0, a = 0;
};

// Fills a square picture by asking a shader for every pixel centre, in coordinates where the
// picture spans -1..1 on both axes and y grows downwards. The picture's top (y = -1) is the
// direction a sprite faces.
platform::Picture paint(int size, const std::function<Texel(float x, float y)>& shader);

float clamp01(float v);
float smoothstep(float edge0, float edge1, float v);

// Smooth value noise in about -1..1, tileable over nothing; seed picks an independent field.
float valueNoise(float x, float y, unsigned seed);
// Several octaves of valueNoise, for rock and smoke surfaces.
float fractalNoise(float x, float y, unsigned seed, int octaves);

} // namespace vastorim::textures
