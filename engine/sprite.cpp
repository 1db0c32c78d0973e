#include "engine/sprite.h"

#include "engine/renderer.h"
#include "engine/startup.h"
#include "engine/textures.h"

#include <algorithm>
#include <cmath>

namespace vastorim {

namespace {

// Beyond this many pixels from the surface a corner is out of reach of the rasterisers' fixed-point
// arithmetic; such a sprite cannot be drawn faithfully and is left out like a non-finite one.
constexpr float farthestCorner = 1.0e7f;

std::uint8_t channel(float value) {
    return static_cast<std::uint8_t>(std::nearbyint(std::clamp(value, 0.0f, 255.0f)));
}

// The unturned unit quad in strip order and the texture coordinates that show the picture
// turned a quarter turn clockwise: its top edge along the quad's right side.
struct Corner {
    float x, y, u, v;
};
constexpr std::array<Corner, 4> unitQuad{{
    {-0.5f, -0.5f, 0.0f, 1.0f},
    {0.5f, -0.5f, 0.0f, 0.0f},
    {-0.5f, 0.5f, 1.0f, 1.0f},
    {0.5f, 0.5f, 1.0f, 0.0f},
}};

} // namespace

void Sprite::create(float centreX, float centreY, float width, float height, float turn,
                    std::int16_t blend, const std::string& textureName) {
    x = centreX;
    y = centreY;
    sizeX = width;
    sizeY = height;
    angle = turn;
    texture = textureName;
    blendType = blend;
}

void Sprite::setPoints(float r_, float g_, float b_, float a_) {
    float f = globals.globalFade;
    tintA = f * a_;
    tintR = f * r_ * a_ * (1.0f / 255.0f);
    tintG = f * g_ * a_ * (1.0f / 255.0f);
    tintB = f * b_ * a_ * (1.0f / 255.0f);
}

void Sprite::render() {
    for (float value : {x, y, angle, sizeX, sizeY, tintA, tintR, tintG, tintB}) {
        if (!std::isfinite(value)) {
            return;
        }
    }
    // A mirrored quad turns counter-clockwise, which the renderer culls.
    if ((sizeX < 0) != (sizeY < 0)) {
        return;
    }
    if (resolvedGeneration_ != textureGeneration() || resolvedName_ != texture) {
        resolvedName_ = texture;
        resolvedIndex_ = findTexture(texture);
        resolvedGeneration_ = textureGeneration();
    }
    if (resolvedIndex_ < 0) {
        return;
    }

    float cosA = std::cos(angle);
    float sinA = std::sin(angle);
    std::array<platform::Vertex, 4> corners;
    for (std::size_t i = 0; i < unitQuad.size(); ++i) {
        float cornerX = unitQuad[i].x * sizeX;
        float cornerY = unitQuad[i].y * sizeY;
        platform::Vertex& v = corners[i];
        v.x = cornerX * cosA - cornerY * sinA + x;
        v.y = cornerX * sinA + cornerY * cosA + y;
        if (!(std::fabs(v.x) <= farthestCorner && std::fabs(v.y) <= farthestCorner)) {
            return;
        }
        v.r = channel(tintR);
        v.g = channel(tintG);
        v.b = channel(tintB);
        v.a = 255;
        v.u = unitQuad[i].u;
        v.v = unitQuad[i].v;
    }
    queueQuad(textureAt(resolvedIndex_),
              blendType == 1 ? platform::BlendMode::Additive : platform::BlendMode::Alpha, corners);
}

} // namespace vastorim
