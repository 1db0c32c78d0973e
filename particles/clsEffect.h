#pragma once

#include "particles/clsParticle.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace vastorim {

// A named list of particle types, read from and written to an effect file.
class clsEffect {
  public:
    std::string sName;

    std::int16_t getParticles() const;
    std::int16_t addParticleType();
    // Replaces the list with the file's types. On a malformed line it throws a DataError naming
    // file, line and field and leaves the list as it was. A missing "END" is reported through
    // warning() and the file loads.
    void loadEffect(const std::string& sName);
    bool saveEffect(const std::string& sName) const;
    clsParticle* getParticle(std::int16_t iParticle); // null when out of range
    const clsParticle* getParticle(std::int16_t iParticle) const;
    void initialize();

    const std::string& warning() const { return warning_; } // empty when the last load was clean

  private:
    std::vector<std::unique_ptr<clsParticle>> particles;
    std::string warning_;
};

} // namespace vastorim
