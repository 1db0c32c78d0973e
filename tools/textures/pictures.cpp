#include "pictures.h"

#include "canvas.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <utility>

namespace vastorim::textures {

namespace {

using Point = std::pair<float, float>;

Texel white(float alpha) {
    return {1, 1, 1, alpha};
}

float radius(float x, float y) {
    return std::sqrt(x * x + y * y);
}

// Keeps every picture's alpha at zero on its border, so no sprite shows a hard square edge.
float borderFade(float x, float y) {
    return smoothstep(1.0f, 0.9f, std::max(std::fabs(x), std::fabs(y)));
}

Texel glow(float x, float y) {
    const float r = radius(x, y);
    return white(std::exp(-r * r * 4.5f) * smoothstep(1.0f, 0.75f, r));
}

Texel flare(float x, float y) {
    const float r2 = x * x + y * y;
    const float a = std::exp(-r2 * 40) + 0.45f * std::exp(-r2 * 6);
    return white(std::min(1.0f, a) * smoothstep(1.0f, 0.8f, std::sqrt(r2)));
}

Texel spark(float x, float y) {
    const float r2 = x * x + y * y;
    const float rays = std::exp(-std::fabs(x) * 28) * std::exp(-y * y * 2.5f) +
                       std::exp(-std::fabs(y) * 28) * std::exp(-x * x * 2.5f);
    const float core = std::exp(-r2 * 25);
    return white(std::min(1.0f, core + 0.8f * rays) * borderFade(x, y));
}

// A bolt whose bright head sits near the top (the direction of travel) with a fading tail.
Texel streak(float x, float y) {
    const float across = std::exp(-x * x * 60);
    const float along = y < -0.6f ? smoothstep(-0.95f, -0.6f, y) : smoothstep(1.0f, -0.6f, y);
    const float head = std::exp(-(x * x * 40 + (y + 0.55f) * (y + 0.55f) * 40));
    return white(std::min(1.0f, across * along + head) * borderFade(x, y));
}

// A shot seen from the side: a hot core, stretched along the flight and brightest towards the
// head, inside a wide soft glow, so that it reads as a light at game scale whatever its tint.
Texel bolt(float x, float y) {
    const float ahead = y + 0.15f;
    const float core = 1.7f * std::exp(-(x * x * 14 + ahead * ahead * 4));
    const float halo = 0.5f * std::exp(-(x * x * 4 + y * y * 1.8f));
    return white(std::min(1.0f, core + halo) * borderFade(x, y));
}

Texel dot(float x, float y) {
    const float r = radius(x, y);
    const float body = smoothstep(0.62f, 0.5f, r);
    const float halo = 0.5f * std::exp(-r * r * 6);
    return white(std::min(1.0f, body + halo) * smoothstep(1.0f, 0.85f, r));
}

Texel ring(float x, float y) {
    const float d = (radius(x, y) - 0.78f) / 0.08f;
    return white(std::exp(-d * d) * borderFade(x, y));
}

Texel smoke(float x, float y) {
    const float n = fractalNoise(x * 3 + 11, y * 3 + 5, 7, 4);
    const float edge = radius(x, y) + 0.35f * n;
    const float a = smoothstep(0.95f, 0.25f, edge) * 0.85f;
    const float shade = 0.7f + 0.3f * (0.5f + n) - 0.15f * y; // lit from above
    return {shade, shade, shade, a * borderFade(x, y)};
}

// Several soft lobes and a churning surface: the pickup's cloud.
Texel cloud(float x, float y) {
    static constexpr std::array<std::array<float, 3>, 5> kLobes = {{
        {0.0f, 0.0f, 0.55f},
        {-0.35f, 0.15f, 0.4f},
        {0.38f, 0.12f, 0.42f},
        {0.05f, -0.35f, 0.38f},
        {-0.1f, 0.38f, 0.35f},
    }};
    float density = 0;
    for (const auto& lobe : kLobes) {
        const float dx = x - lobe[0];
        const float dy = y - lobe[1];
        density += std::exp(-(dx * dx + dy * dy) / (lobe[2] * lobe[2]));
    }
    const float n = fractalNoise(x * 4 + 3, y * 4 + 9, 21, 4);
    const float a = smoothstep(0.35f, 1.1f, density + 0.5f * n);
    const float shade = 0.8f + 0.2f * n;
    return {shade, shade, shade, a * borderFade(x, y)};
}

// Signed distance to a closed polygon: negative inside.
float polygonDistance(float x, float y, const std::vector<Point>& polygon) {
    float best = 1e9f;
    bool inside = false;
    for (std::size_t i = 0, j = polygon.size() - 1; i < polygon.size(); j = i++) {
        const auto [ax, ay] = polygon[j];
        const auto [bx, by] = polygon[i];
        const float ex = bx - ax;
        const float ey = by - ay;
        const float t =
            std::clamp(((x - ax) * ex + (y - ay) * ey) / (ex * ex + ey * ey), 0.0f, 1.0f);
        const float dx = x - ax - ex * t;
        const float dy = y - ay - ey * t;
        best = std::min(best, dx * dx + dy * dy);
        if ((ay > y) != (by > y) && x < ax + (y - ay) / (by - ay) * ex) {
            inside = !inside;
        }
    }
    return inside ? -std::sqrt(best) : std::sqrt(best);
}

// A swept-wing fighter, nose at the top.
Texel ship(float x, float y) {
    static const std::vector<Point> kHull = {
        {0.0f, -0.92f},  {0.16f, -0.45f},  {0.22f, -0.05f},  {0.78f, 0.55f}, {0.74f, 0.78f},
        {0.3f, 0.6f},    {0.18f, 0.82f},   {-0.18f, 0.82f},  {-0.3f, 0.6f},  {-0.74f, 0.78f},
        {-0.78f, 0.55f}, {-0.22f, -0.05f}, {-0.16f, -0.45f},
    };
    const float d = polygonDistance(x, y, kHull);
    const float coverage = smoothstep(0.03f, -0.01f, d);
    const float outline = smoothstep(-0.09f, -0.05f, d); // a lighter rim along the edge
    const float ridge = std::exp(-x * x * 90);           // the spine catches the light
    const float wingShade = 0.62f - 0.18f * y;
    float shade = wingShade + 0.3f * ridge + 0.25f * outline;
    const float cy = (y + 0.3f) / 0.22f;
    const float cx = x / 0.09f;
    const float cockpit = smoothstep(1.0f, 0.8f, cx * cx + cy * cy);
    shade = shade * (1 - cockpit) + 0.25f * cockpit;
    const float glowAt = std::exp(-(x * x * 30 + (y - 0.84f) * (y - 0.84f) * 120)); // engine
    shade = std::min(1.0f, shade + glowAt);
    return {shade, shade, shade, std::max(coverage, glowAt) * borderFade(x, y)};
}

// A lumpy rock lit from the upper left, with a few craters; seed picks the shape.
Texel rock(float x, float y, unsigned seed) {
    const float angle = std::atan2(y, x);
    float edge = 0.8f;
    for (int k = 2; k <= 7; ++k) {
        const float phase = valueNoise(static_cast<float>(k) * 1.7f, 0.5f, seed) * 6.28f;
        const float amplitude = 0.11f / static_cast<float>(k - 1) *
                                (0.6f + 0.4f * valueNoise(0.3f, static_cast<float>(k), seed + 3));
        edge += amplitude * std::sin(static_cast<float>(k) * angle + phase);
    }
    // Each seed stretches its rock along its own axis, so the shapes read apart at a glance.
    const float stretch = 0.08f + 0.1f * (0.5f + 0.5f * valueNoise(2.5f, 7.5f, seed + 5));
    const float axis = 3.14f * valueNoise(6.5f, 1.5f, seed + 6);
    edge *= 1 - stretch * std::cos(2 * (angle - axis));
    edge = std::min(edge, 0.95f);
    const float r = radius(x, y);
    const float coverage = smoothstep(edge + 0.015f, edge - 0.025f, r);
    if (coverage <= 0) {
        return {};
    }
    const float bumpX = fractalNoise(x * 5, y * 5, seed + 40, 3);
    const float bumpY = fractalNoise(x * 5 + 17, y * 5 + 3, seed + 40, 3);
    const float nx = x / edge + 0.35f * bumpX;
    const float ny = y / edge + 0.35f * bumpY;
    const float nz = std::sqrt(std::max(0.05f, 1 - std::min(1.0f, (r / edge) * (r / edge))));
    const float length = std::sqrt(nx * nx + ny * ny + nz * nz);
    const float light = (-0.55f * nx - 0.6f * ny + 0.58f * nz) / length;
    float shade = 0.28f + 0.72f * std::max(0.0f, light);
    for (int c = 0; c < 4; ++c) {
        const float cx = 0.5f * valueNoise(static_cast<float>(c) * 3.1f, 1.3f, seed + 9);
        const float cy = 0.5f * valueNoise(1.9f, static_cast<float>(c) * 2.3f, seed + 9);
        const float cr = 0.12f + 0.08f * valueNoise(static_cast<float>(c), 4.4f, seed + 13);
        const float dc = radius(x - cx, y - cy) / cr;
        if (dc < 1.2f) {
            // Dark floor, bright lower-right rim facing the light.
            const float floor = smoothstep(1.0f, 0.6f, dc) * 0.35f;
            const float rim = std::exp(-(dc - 1) * (dc - 1) * 30) * 0.25f *
                              (((x - cx) + (y - cy)) > 0 ? 1.0f : -0.6f);
            shade = shade - floor + rim;
        }
    }
    shade *= 0.9f + 0.1f * fractalNoise(x * 12, y * 12, seed + 70, 2);
    shade = clamp01(shade);
    return {shade, shade * 0.96f, shade * 0.9f, coverage * borderFade(x, y)};
}

// A broken sliver for debris.
Texel shard(float x, float y) {
    static const std::vector<Point> kShard = {
        {0.0f, -0.8f}, {0.45f, 0.5f}, {-0.1f, 0.75f}, {-0.4f, 0.2f}};
    const float d = polygonDistance(x, y, kShard);
    const float shade = 0.6f + 0.4f * smoothstep(0.3f, -0.5f, x + y);
    return {shade, shade, shade, smoothstep(0.04f, -0.02f, d)};
}

// The window's icon: the ship in the player's green over a deep blue tile with one of the menu's
// rings around it, opaque inside the tile's rounded corners.
Texel icon(float x, float y) {
    const float cornerX = std::max(std::fabs(x) - 0.7f, 0.0f);
    const float cornerY = std::max(std::fabs(y) - 0.7f, 0.0f);
    const float tile = smoothstep(0.26f, 0.22f, radius(cornerX, cornerY));
    const float depth = std::exp(-(x * x + y * y) * 1.6f);
    const float ringAt = (radius(x, y) - 0.8f) / 0.05f;
    const float ringLight = 0.8f * std::exp(-ringAt * ringAt);
    const Texel body = ship(x / 0.78f, (y + 0.04f) / 0.78f);
    const auto over = [&](float back, float front) { return back * (1 - body.a) + front * body.a; };
    return {over(0.03f + 0.1f * depth + 0.15f * ringLight, 0.45f * body.r),
            over(0.06f + 0.16f * depth + 0.6f * ringLight, body.g),
            over(0.16f + 0.3f * depth + 0.75f * ringLight, 0.5f * body.b), std::max(tile, body.a)};
}

} // namespace

platform::Picture makeIcon() {
    return paint(128, icon);
}

std::vector<NamedPicture> makePictures() {
    std::vector<NamedPicture> pictures;
    auto add = [&](std::string name, int size, const std::function<Texel(float, float)>& shader) {
        pictures.push_back({std::move(name), paint(size, shader)});
    };
    add("glow.png", 128, glow);
    add("flare.png", 64, flare);
    add("spark.png", 64, spark);
    add("streak.png", 64, streak);
    add("bolt.png", 64, bolt);
    add("dot.png", 32, dot);
    add("ring.png", 128, ring);
    add("smoke.png", 128, smoke);
    add("cloud.png", 128, cloud);
    add("ship.png", 128, ship);
    add("shard.png", 32, shard);
    for (unsigned i = 1; i <= 3; ++i) {
        add("rock" + std::to_string(i) + ".png", 128,
            [i](float x, float y) { return rock(x, y, 100 * i); });
    }
    return pictures;
}

} // namespace vastorim::textures
