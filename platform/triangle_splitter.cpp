#include "platform/triangle_splitter.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace vastorim::platform {

namespace {

// Area x texels stays well inside 32 bits with this bound (2^26).
constexpr double kAreaTexelLimit = 67108864.0;
// Deep enough to bring the largest quad the engine submits (corners up to 1e7 pixels out) down to
// the limit; pieces off the surface are dropped, so the count stays small.
constexpr int kMaxDepth = 64;

double doubledArea(const Vertex& a, const Vertex& b, const Vertex& c) {
    return std::abs((static_cast<double>(b.x) - a.x) * (static_cast<double>(c.y) - a.y) -
                    (static_cast<double>(c.x) - a.x) * (static_cast<double>(b.y) - a.y));
}

std::uint8_t mean(std::uint8_t p, std::uint8_t q) {
    return static_cast<std::uint8_t>((p + q + 1) / 2);
}

Vertex midpoint(const Vertex& p, const Vertex& q) {
    Vertex m;
    m.x = (p.x + q.x) * 0.5f;
    m.y = (p.y + q.y) * 0.5f;
    m.r = mean(p.r, q.r);
    m.g = mean(p.g, q.g);
    m.b = mean(p.b, q.b);
    m.a = mean(p.a, q.a);
    m.u = (p.u + q.u) * 0.5f;
    m.v = (p.v + q.v) * 0.5f;
    return m;
}

double squaredLength(const Vertex& p, const Vertex& q) {
    double dx = static_cast<double>(p.x) - q.x;
    double dy = static_cast<double>(p.y) - q.y;
    return dx * dx + dy * dy;
}

} // namespace

void TriangleSplitter::split(std::span<const Vertex> vertices, std::span<const int> indices,
                             int textureSize, int surfaceWidth, int surfaceHeight) {
    vertices_.clear();
    indices_.clear();
    changed_ = false;
    maxArea_ = 2.0 * kAreaTexelLimit / std::max(textureSize, 1);
    width_ = static_cast<float>(surfaceWidth);
    height_ = static_cast<float>(surfaceHeight);
    for (std::size_t i = 0; i + 2 < indices.size(); i += 3) {
        const Vertex& a = vertices[static_cast<std::size_t>(indices[i])];
        const Vertex& b = vertices[static_cast<std::size_t>(indices[i + 1])];
        const Vertex& c = vertices[static_cast<std::size_t>(indices[i + 2])];
        if (doubledArea(a, b, c) > maxArea_) {
            changed_ = true;
        }
        add(a, b, c, 0);
    }
}

void TriangleSplitter::add(const Vertex& a, const Vertex& b, const Vertex& c, int depth) {
    float left = std::min({a.x, b.x, c.x});
    float right = std::max({a.x, b.x, c.x});
    float top = std::min({a.y, b.y, c.y});
    float bottom = std::max({a.y, b.y, c.y});
    if (right < 0 || bottom < 0 || left > width_ || top > height_) {
        return;
    }
    if (doubledArea(a, b, c) <= maxArea_ || depth >= kMaxDepth) {
        auto first = static_cast<int>(vertices_.size());
        vertices_.push_back(a);
        vertices_.push_back(b);
        vertices_.push_back(c);
        indices_.insert(indices_.end(), {first, first + 1, first + 2});
        return;
    }
    // Halve the longest edge; the two halves keep the winding of the whole.
    double ab = squaredLength(a, b);
    double bc = squaredLength(b, c);
    double ca = squaredLength(c, a);
    if (ab >= bc && ab >= ca) {
        Vertex m = midpoint(a, b);
        add(a, m, c, depth + 1);
        add(m, b, c, depth + 1);
    } else if (bc >= ca) {
        Vertex m = midpoint(b, c);
        add(a, b, m, depth + 1);
        add(a, m, c, depth + 1);
    } else {
        Vertex m = midpoint(c, a);
        add(a, b, m, depth + 1);
        add(m, b, c, depth + 1);
    }
}

} // namespace vastorim::platform
