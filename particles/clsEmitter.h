#pragma once

#include "particles/clsEffect.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace vastorim {

// Every loaded effect by name, and one fixed table of live particles shared by all of them.
class clsEmitter {
  public:
    static constexpr int kSlots = 10001;

    clsEmitter();
    ~clsEmitter();

    std::int16_t getParticles() const;
    clsParticle* getParticle(std::int16_t iIndex); // null when out of range
    // The effect named sName, or when sName is empty the effect at iIndex; null when no effect
    // is loaded or the index is out of range.
    clsEffect* getEffect(const std::string& sName, std::int16_t iIndex = 0);
    void render();
    void update();
    void initialize();
    void addEffect(const std::string& sPath); // throws DataError; nothing is added then
    std::int16_t spawnEffect(double X, double Y, const std::string& sName = "",
                             std::int16_t iIndex = 0);

  private:
    std::int16_t spawnParticle(std::int16_t iEffect, std::int16_t iParticle, double X, double Y);
    std::int16_t findEffect(const std::string& sName) const;

    int findFreeSlot();

    struct Table;
    std::vector<std::unique_ptr<clsEffect>> effects;
    std::unique_ptr<Table> table;
};

// The one emitter of the run.
extern clsEmitter emitter;

} // namespace vastorim
