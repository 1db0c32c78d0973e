#pragma once

#include <cstdint>
#include <string>

namespace vastorim {

// One textured, tinted, scaled and rotated square: the engine's only picture primitive. Position
// and size are screen pixels of the 1024 x 768 surface; t turns clockwise on screen. The picture
// is shown turned a quarter turn clockwise: what it has at its top points along +x at t = 0.
class clsSprite {
  public:
    std::string texture;         // registry name, matched as stored there
    std::int16_t iblendtype = 0; // 1 additive, anything else normal alpha blending
    float X = 0;
    float Y = 0;
    float t = 0;
    float sizex = 0;
    float sizey = 0;

    void create(float xposition, float yposition, float xsize, float ysize, float Angle,
                std::int16_t blendtype, const std::string& stexture);

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
