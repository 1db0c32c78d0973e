#pragma once

#include "platform/video.h"

namespace vastorim::platform {

// SDL's software rasteriser overflows its integer arithmetic (and crashes) when a triangle is
// large compared with its texture's size. This gives the same picture as triangles that stay
// well inside its limits: large triangles are split at their edge midpoints (texture mapping is
// affine, so the split is exact), and triangles wholly outside the surface are dropped.
void splitForSoftwareRaster(std::span<const Vertex> vertices, std::span<const int> indices,
                            int textureSize, std::vector<Vertex>& outVertices,
                            std::vector<int>& outIndices);

} // namespace vastorim::platform
