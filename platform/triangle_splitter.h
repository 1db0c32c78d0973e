#pragma once

#include "platform/video.h"

#include <span>
#include <vector>

namespace vastorim::platform {

// SDL's software rasteriser multiplies a triangle's area by its texel coordinates in 32-bit
// integers, so a large triangle on a large texture overflows and crashes inside SDL. This cuts
// such triangles into pieces small enough for it (an affine mapping is exact under subdivision,
// so the picture is unchanged) and drops pieces that lie wholly outside the surface.
class TriangleSplitter {
  public:
    // Fills vertices/indices with the triangles of the input, split where needed. textureSize is
    // the larger of the texture's width and height in texels.
    void split(std::span<const Vertex> vertices, std::span<const int> indices, int textureSize,
               int surfaceWidth, int surfaceHeight);

    // False when nothing had to change, so the caller can draw the input as it stands.
    bool changed() const { return changed_; }
    const std::vector<Vertex>& vertices() const { return vertices_; }
    const std::vector<int>& indices() const { return indices_; }

  private:
    void add(const Vertex& a, const Vertex& b, const Vertex& c, int depth);

    std::vector<Vertex> vertices_;
    std::vector<int> indices_;
    double maxArea_ = 0;
    float width_ = 0;
    float height_ = 0;
    bool changed_ = false;
};

} // namespace vastorim::platform
