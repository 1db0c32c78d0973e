#include "engine/clsSprite.h"

#include "engine/mod_dx8_render.h"
#include "engine/mod_res_textures.h"
#include "engine/mod_vbp_start.h"

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

void clsSprite::create(float xposition, float yposition, float xsize, float ysize, float Angle,
                       std::int16_t blendtype, const std::string& stexture) {
    X = xposition;
    Y = yposition;
    sizex = xsize;
    sizey = ysize;
    t = Angle;
    texture = stexture;
    iblendtype = blendtype;
}

void clsSprite::setPoints(float r_, float g_, float b_, float a_) {
    float f = globals.globalFade;
    tintA = f * a_;
    tintR = f * r_ * a_ * (1.0f / 255.0f);
    tintG = f * g_ * a_ * (1.0f / 255.0f);
    tintB = f * b_ * a_ * (1.0f / 255.0f);
}

void clsSprite::render() {
    for (float value : {X, Y, t, sizex, sizey, tintA, tintR, tintG, tintB}) {
        if (!std::isfinite(value)) {
            return;
        }
    }
    // A mirrored quad turns counter-clockwise, which the renderer culls.
    if ((sizex < 0) != (sizey < 0)) {
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

    float cosT = std::cos(t);
    float sinT = std::sin(t);
    std::array<platform::Vertex, 4> corners;
    for (std::size_t i = 0; i < unitQuad.size(); ++i) {
        float sx = unitQuad[i].x * sizex;
        float sy = unitQuad[i].y * sizey;
        platform::Vertex& v = corners[i];
        v.x = sx * cosT - sy * sinT + X;
        v.y = sx * sinT + sy * cosT + Y;
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
              iblendtype == 1 ? platform::BlendMode::Additive : platform::BlendMode::Alpha,
              corners);
}

} // namespace vastorim
