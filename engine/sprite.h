#pragma once

#include <cstdint>
#include <string>

namespace vastorim {

// One textured, tinted, scaled and rotated square: the engine's only picture primitive. Position
// and size are screen pixels of the 1024 x 768 surface; the angle, in radians, turns clockwise on
// screen. The picture is shown turned a quarter turn clockwise: what it has at its top points
// along +x at angle 0.
class Sprite {
  public:
    std::string texture;        // registry name, matched as stored there
    std::int16_t blendType = 0; // 1 additive, anything else normal alpha blending
    float x = 0;                // centre
    float y = 0;
    float angle = 0;
    float sizeX = 0;
    float sizeY = 0;

    void create(float centreX, float centreY, float width, float height, float turn,
                std::int16_t blend, const std::string& textureName);

    // Tint from colour components on the 0..255 scale, scaled by globalFade; the colour
    // channels are stored already multiplied by the alpha.
    void setPoints(float r_, float g_, float b_, float a_);

    // Queues the sprite on the frame's batched sprite path; valid only while a frame is drawn.
    void render();

  private:
    float tintA = 0;
    float tintR = 0;
    float tintG = 0;
    float tintB = 0;
    // Registry lookup cached by name; -1 until resolved (see render).
    std::string resolvedName_;
    int resolvedIndex_ = -1;
    unsigned resolvedGeneration_ = 0;
};

} // namespace vastorim
