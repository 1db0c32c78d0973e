#include "platform/triangle_split.h"

#include <algorithm>
#include <cstddef>

namespace vastorim::platform {

namespace {

// Texture size times bounding-box area, in texels x pixels squared; measured crashes start
// above 4e8, so this keeps a wide margin.
constexpr double safeTextureArea = 1.0e8;
// Each level quarters a triangle; this depth reaches the limit from any finite corner that the
// engine lets through.
constexpr int deepestSplit = 24;

std::uint8_t midpoint(std::uint8_t a, std::uint8_t b) {
    return static_cast<std::uint8_t>((a + b + 1) / 2);
}

Vertex midpoint(const Vertex& a, const Vertex& b) {
    return {(a.x + b.x) * 0.5f, (a.y + b.y) * 0.5f, midpoint(a.r, b.r), midpoint(a.g, b.g),
            midpoint(a.b, b.b), midpoint(a.a, b.a), (a.u + b.u) * 0.5f, (a.v + b.v) * 0.5f};
}

struct Splitter {
    int textureSize;
    std::vector<Vertex>& vertices;
    std::vector<int>& indices;

    void add(const Vertex& a, const Vertex& b, const Vertex& c, int depth) {
        float left = std::min({a.x, b.x, c.x});
        float right = std::max({a.x, b.x, c.x});
        float top = std::min({a.y, b.y, c.y});
        float bottom = std::max({a.y, b.y, c.y});
        if (right < 0 || bottom < 0 || left > surfaceWidth || top > surfaceHeight) {
            return;
        }
        double area = static_cast<double>(right - left) * static_cast<double>(bottom - top);
        if (area * textureSize <= safeTextureArea || depth >= deepestSplit) {
            int first = static_cast<int>(vertices.size());
            vertices.insert(vertices.end(), {a, b, c});
            indices.insert(indices.end(), {first, first + 1, first + 2});
            return;
        }
        Vertex ab = midpoint(a, b);
        Vertex bc = midpoint(b, c);
        Vertex ca = midpoint(c, a);
        add(a, ab, ca, depth + 1);
        add(ab, b, bc, depth + 1);
        add(ca, bc, c, depth + 1);
        add(ab, bc, ca, depth + 1);
    }
};

} // namespace

void splitForSoftwareRaster(std::span<const Vertex> vertices, std::span<const int> indices,
                            int textureSize, std::vector<Vertex>& outVertices,
                            std::vector<int>& outIndices) {
    outVertices.clear();
    outIndices.clear();
    Splitter splitter{std::max(textureSize, 1), outVertices, outIndices};
    for (std::size_t i = 0; i + 2 < indices.size(); i += 3) {
        auto corner = [&](std::size_t k) -> const Vertex& {
            return vertices[static_cast<std::size_t>(indices[i + k])];
        };
        splitter.add(corner(0), corner(1), corner(2), 0);
    }
}

} // namespace vastorim::platform
