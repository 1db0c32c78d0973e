#pragma once

#include "engine/clsSprite.h"
#include "engine/numbers.h"
#include "particles/clsTrack.h"

#include <cstdint>
#include <string>

namespace vastorim {

// A number that behaves as decimal text of at most 15 significant digits: every write rounds it
// the way writing it as text and reading it back would.
class DecimalText {
  public:
    DecimalText() = default;
    DecimalText& operator=(double value) {
        value_ = round15(value);
        return *this;
    }
    operator double() const { return value_; }
    std::string text() const { return numberToText(value_); }

  private:
    double value_ = 0;
};

// A particle type (one line of an effect file) and a live particle (one quad on screen).
class clsParticle {
  public:
    clsTrack colourR;
    clsTrack colourG;
    clsTrack colourB;
    clsTrack colourA;
    clsTrack sizex;
    clsTrack sizey;
    clsTrack speedx;
    clsTrack speedy;
    clsTrack Rotation;
    std::string texture;
    std::int16_t spawnnumber = 0;
    std::string seed;
    double dblSeed = 0;
    std::int16_t blendtype = 0;
    std::string Angle;
    DecimalText dblAngle;
    std::string X;
    std::string Y;
    double dblX = 0;
    double dblY = 0;
    clsSprite sprite;
    double dblTime = 0;
    std::int32_t lngSpawnedAt = 0;
    std::int32_t lngKillat = 0;
    std::string sName;
    std::int16_t intParticleTextureIndex = 0;
    float damage = 0;

    void render();
    void updateParticle();
    void updateSprite();
    std::string getParticleString() const;
    // initialize, then fill from the eighteen fields; throws FieldError naming the field.
    void loadParticleString(const std::string& sString);
    void bakeKeys();
    void initialize();
};

} // namespace vastorim
