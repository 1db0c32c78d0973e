#pragma once

#include "particles/effect.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace vastorim {

// Every loaded effect by name, and one fixed table of live particles shared by all of them.
class Emitter {
  public:
    static constexpr int kSlots = 10001;

    Emitter();
    ~Emitter();

    std::int16_t getParticles() const;
    Particle* getParticle(std::int16_t slot); // null when out of range
    // The effect named name, or when name is empty the effect at index; null when no effect is
    // loaded or the index is out of range.
    Effect* getEffect(const std::string& name, std::int16_t index = 0);
    void render();
    void update();
    void initialize();
    void addEffect(const std::string& path); // throws DataError; nothing is added then
    std::int16_t spawnEffect(double x, double y, const std::string& name = "",
                             std::int16_t index = 0);

  private:
    std::int16_t spawnParticle(std::int16_t effectIndex, std::int16_t typeIndex, double x,
                               double y);
    std::int16_t findEffect(const std::string& name) const;

    int findFreeSlot();

    struct Table;
    std::vector<std::unique_ptr<Effect>> effects;
    std::unique_ptr<Table> table;
};

// The one emitter of the run.
extern Emitter emitter;

} // namespace vastorim
