#pragma once

#include "engine/numbers.h"
#include "engine/sprite.h"
#include "particles/expression.h"
#include "particles/track.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

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
class Particle {
  public:
    Track colourR;
    Track colourG;
    Track colourB;
    Track colourA;
    Track sizeX;
    Track sizeY;
    Track speedX;
    Track speedY;
    Track rotation;
    std::string texture;
    std::int16_t spawnCount = 0; // particles of this type that one spawn of the effect makes
    // The start values: each one's expression text and the number bakeKeys evaluates it to.
    std::string seedExpression;
    double seed = 0;            // stands for "seed" in every other expression of the particle
    std::int16_t blendType = 0; // 1 additive, anything else normal alpha blending
    std::string angleExpression;
    DecimalText angle; // radians
    std::string xExpression;
    std::string yExpression;
    double x = 0; // pixels
    double y = 0;
    Sprite sprite;
    double age = 0;             // seconds since spawning
    std::int32_t spawnedAt = 0; // platform tick at spawning
    std::int32_t killAt = 0;    // lifetime in seconds: it dies once its age passes this; -1 dead
    std::string name;
    float damage = 0;

    void render();
    void updateParticle();
    void updateSprite();
    std::string getParticleString() const;
    // initialize, then fill from the eighteen fields; throws FieldError naming the field.
    void loadParticleString(const std::string& line);
    void bakeKeys();
    void initialize();

    // Turns this object into a fresh, unbaked live particle of the given type, as spawning does,
    // reusing this object's storage. The texture name and blend mode go to the sprite only.
    void spawnFrom(const Particle& type);

    static constexpr int kFields = 18;
    // The fields of a particle string, split at every ",".
    static std::vector<std::string_view> splitFields(std::string_view line);
    // "field K (name)" for field K of the particle string, as error messages name it.
    static std::string fieldLabel(int field);

  private:
    ExpressionRef seedCompiled_;
    ExpressionRef angleCompiled_;
    ExpressionRef xCompiled_;
    ExpressionRef yCompiled_;
};

} // namespace vastorim
