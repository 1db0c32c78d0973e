#pragma once

#include "particles/particle.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace vastorim {

class TextReader;

// A named list of particle types, read from and written to an effect file.
class Effect {
  public:
    std::string name;

    std::int16_t getParticles() const;
    std::int16_t addParticleType();
    // Replaces the list with the file's types. On a malformed line it throws a DataError naming
    // file, line and field and leaves the list as it was. A missing "END" is reported through
    // warning() and the file loads.
    void loadEffect(const std::string& path);
    // The same from text held in memory, read as the contents of the file called name.
    void loadEffectText(const std::string& name, std::string text);
    bool saveEffect(const std::string& path) const;
    Particle* getParticle(std::int16_t index); // null when out of range
    const Particle* getParticle(std::int16_t index) const;
    void initialize();

    const std::string& warning() const { return warning_; } // empty when the last load was clean

  private:
    void loadFrom(TextReader& reader);

    std::vector<std::unique_ptr<Particle>> particles;
    std::string warning_;
};

} // namespace vastorim
