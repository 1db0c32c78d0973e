#include "canvas.h"

#include <cmath>

namespace vastorim::textures {

namespace {

float hashToUnit(int x, int y, unsigned seed) {
    unsigned h = static_cast<unsigned>(x) * 374761393u + static_cast<unsigned>(y) * 668265263u +
                 seed * 2246822519u;
    h = (h ^ (h >> 13)) * 1274126177u;
    h ^= h >> 16;
    return static_cast<float>(h & 0xffffffu) / 8388607.5f - 1.0f;
}

std::uint8_t toByte(float v) {
    return static_cast<std::uint8_t>(std::lround(clamp01(v) * 255.0f));
}

} // namespace

platform::RgbaImage paint(int size, const std::function<Texel(float x, float y)>& shader) {
    platform::RgbaImage image;
    image.width = size;
    image.height = size;
    image.pixels.reserve(static_cast<std::size_t>(size) * size * 4);
    for (int py = 0; py < size; ++py) {
        for (int px = 0; px < size; ++px) {
            const float x = (static_cast<float>(px) + 0.5f) / static_cast<float>(size) * 2 - 1;
            const float y = (static_cast<float>(py) + 0.5f) / static_cast<float>(size) * 2 - 1;
            const Texel t = shader(x, y);
            image.pixels.push_back(toByte(t.r));
            image.pixels.push_back(toByte(t.g));
            image.pixels.push_back(toByte(t.b));
            image.pixels.push_back(toByte(t.a));
        }
    }
    return image;
}

float clamp01(float v) {
    return v < 0 ? 0 : (v > 1 ? 1 : v);
}

float smoothstep(float edge0, float edge1, float v) {
    const float t = clamp01((v - edge0) / (edge1 - edge0));
    return t * t * (3 - 2 * t);
}

float valueNoise(float x, float y, unsigned seed) {
    const int ix = static_cast<int>(std::floor(x));
    const int iy = static_cast<int>(std::floor(y));
    const float fx = x - static_cast<float>(ix);
    const float fy = y - static_cast<float>(iy);
    const float sx = fx * fx * (3 - 2 * fx);
    const float sy = fy * fy * (3 - 2 * fy);
    const float top = hashToUnit(ix, iy, seed) * (1 - sx) + hashToUnit(ix + 1, iy, seed) * sx;
    const float bottom =
        hashToUnit(ix, iy + 1, seed) * (1 - sx) + hashToUnit(ix + 1, iy + 1, seed) * sx;
    return top * (1 - sy) + bottom * sy;
}

float fractalNoise(float x, float y, unsigned seed, int octaves) {
    float sum = 0;
    float amplitude = 0.5f;
    float frequency = 1;
    for (int i = 0; i < octaves; ++i) {
        sum +=
            amplitude * valueNoise(x * frequency, y * frequency, seed + static_cast<unsigned>(i));
        amplitude *= 0.5f;
        frequency *= 2;
    }
    return sum;
}

} // namespace vastorim::textures
