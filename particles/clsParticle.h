#pragma once

#include "engine/numbers.h"
#include "engine/sprite.h"
#include "particles/clsTrack.h"
#include "particles/mod_Particle_Functions.h"

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
    Sprite sprite;
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

    // Turns this object into a fresh, unbaked live particle of the given type, as spawning does,
    // reusing this object's storage. The texture name and blend mode go to the sprite only.
    void spawnFrom(const clsParticle& type);

    static constexpr int kFields = 18;
    // "field K (name)" for field K of the particle string, as error messages name it.
    static std::string fieldLabel(int field);

  private:
    ExpressionRef seedExpression_;
    ExpressionRef angleExpression_;
    ExpressionRef xExpression_;
    ExpressionRef yExpression_;
};

} // namespace vastorim
