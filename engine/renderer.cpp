#include "engine/renderer.h"

#include "engine/startup.h"

#include <algorithm>
#include <vector>

namespace vastorim {

namespace {

// A rectangle of surface pixels; empty when right <= left or bottom <= top.
struct Area {
    float left = 0;
    float top = 0;
    float right = 0;
    float bottom = 0;

    bool empty() const { return !(right > left && bottom > top); }
    bool overlaps(const Area& other) const {
        return !empty() && !other.empty() && left < other.right && other.left < right &&
               top < other.bottom && other.top < bottom;
    }
    Area joined(const Area& other) const {
        if (empty()) {
            return other;
        }
        if (other.empty()) {
            return *this;
        }
        return {std::min(left, other.left), std::min(top, other.top), std::max(right, other.right),
                std::max(bottom, other.bottom)};
    }
};

const Area wholeSurface{-1.0e9f, -1.0e9f, 1.0e9f, 1.0e9f};

// The pixels a quad can reach: its corners' bounds, a pixel wider on every side so that no
// rasteriser's rounding reaches past them.
Area reachOf(const std::array<platform::Vertex, 4>& corners) {
    Area area{corners[0].x, corners[0].y, corners[0].x, corners[0].y};
    for (const platform::Vertex& corner : corners) {
        area = {std::min(area.left, corner.x), std::min(area.top, corner.y),
                std::max(area.right, corner.x), std::max(area.bottom, corner.y)};
    }
    return {area.left - 1, area.top - 1, area.right + 1, area.bottom + 1};
}

bool isBlack(const std::array<platform::Vertex, 4>& corners) {
    return std::all_of(corners.begin(), corners.end(), [](const platform::Vertex& corner) {
        return corner.r == 0 && corner.g == 0 && corner.b == 0;
    });
}

struct RenderState {
    platform::Video* video = nullptr;
    std::vector<platform::Vertex> vertices;
    std::vector<int> indices; // two triangles per quad, grown as batches grow
    platform::TextureId batchTexture = -1;
    platform::BlendMode batchBlend = platform::BlendMode::Alpha;
    int drawCalls = 0;
    int drawCallsLastFrame = 0;
    // Where the surface may hold anything but black. Known only inside renderFrame, from its
    // clear on; elsewhere anything may lie anywhere.
    Area lit = wholeSurface;
};

RenderState state;

} // namespace

void initRenderer(platform::Video& video) {
    video.open();
    setCurrentVideo(&video);
}

void showGameWindow() {
    if (state.video != nullptr) {
        state.video->show();
    }
}

void shutdownRenderer() {
    platform::Video* video = state.video;
    setCurrentVideo(nullptr);
    if (video != nullptr) {
        video->close();
    }
}

void renderFrame() {
    platform::Video* video = state.video;
    if (video == nullptr) {
        return;
    }
    state.drawCalls = 0;
    video->clear();
    state.lit = Area{};
    if (globals.gameMode == 0 || globals.gameMode == 1) {
        callHook(hooks.drawMode);
    }
    callHook(hooks.drawParticles);
    flushSprites();
    video->present();
    state.lit = wholeSurface;
    state.drawCallsLastFrame = state.drawCalls;
}

void flushSprites() {
    if (state.vertices.empty()) {
        return;
    }
    std::size_t indexCount = state.vertices.size() / 4 * 6;
    for (auto quad = static_cast<int>(state.indices.size() / 6); state.indices.size() < indexCount;
         ++quad) {
        int first = quad * 4;
        state.indices.insert(state.indices.end(),
                             {first, first + 1, first + 2, first + 1, first + 3, first + 2});
    }
    if (state.video != nullptr) {
        state.video->drawTriangles(state.batchTexture, state.batchBlend, state.vertices,
                                   std::span<const int>(state.indices.data(), indexCount));
        ++state.drawCalls;
    }
    state.vertices.clear();
}

int drawCallsLastFrame() {
    return state.drawCallsLastFrame;
}

platform::Video* currentVideo() {
    return state.video;
}

void setCurrentVideo(platform::Video* video) {
    state.vertices.clear();
    state.video = video;
}

void markDrawn(int left, int top, int right, int bottom) {
    state.lit = state.lit.joined({static_cast<float>(left), static_cast<float>(top),
                                  static_cast<float>(right), static_cast<float>(bottom)});
}

void queueQuad(platform::TextureId texture, platform::BlendMode blend,
               const std::array<platform::Vertex, 4>& corners) {
    // A black quad adds nothing, and blended it only darkens what lies beneath it, so over
    // black it changes no pixel. After game over the faded world is all such quads.
    const Area reach = reachOf(corners);
    if (isBlack(corners)) {
        if (blend == platform::BlendMode::Additive || !reach.overlaps(state.lit)) {
            return;
        }
    } else {
        state.lit = state.lit.joined(reach);
    }
    if (!state.vertices.empty() && (texture != state.batchTexture || blend != state.batchBlend)) {
        flushSprites();
    }
    state.batchTexture = texture;
    state.batchBlend = blend;
    state.vertices.insert(state.vertices.end(), corners.begin(), corners.end());
}

void resetRenderState() {
    state.vertices.clear();
    state.lit = wholeSurface;
    state.drawCalls = 0;
    state.drawCallsLastFrame = 0;
}

} // namespace vastorim
