#include "engine/renderer.h"

#include "engine/startup.h"

#include <vector>

namespace vastorim {

namespace {

struct RenderState {
    platform::Video* video = nullptr;
    std::vector<platform::Vertex> vertices;
    std::vector<int> indices; // two triangles per quad, grown as batches grow
    platform::TextureId batchTexture = -1;
    platform::BlendMode batchBlend = platform::BlendMode::Alpha;
    int drawCalls = 0;
    int drawCallsLastFrame = 0;
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
    if (globals.gameMode == 0 || globals.gameMode == 1) {
        callHook(hooks.drawMode);
    }
    callHook(hooks.drawParticles);
    flushSprites();
    video->present();
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

void queueQuad(platform::TextureId texture, platform::BlendMode blend,
               const std::array<platform::Vertex, 4>& corners) {
    if (!state.vertices.empty() && (texture != state.batchTexture || blend != state.batchBlend)) {
        flushSprites();
    }
    state.batchTexture = texture;
    state.batchBlend = blend;
    state.vertices.insert(state.vertices.end(), corners.begin(), corners.end());
}

void resetRenderState() {
    state.vertices.clear();
    state.drawCalls = 0;
    state.drawCallsLastFrame = 0;
}

} // namespace vastorim
