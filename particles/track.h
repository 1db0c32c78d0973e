#pragma once

#include "particles/keyframe.h"

#include <cstdint>
#include <string>
#include <vector>

namespace vastorim {

// How one property of a particle changes over its life: keys interpolated linearly by age.
class Track {
  public:
    void bakeKeys(double seed);
    // Copies the time and expression of the key at index; false (arguments untouched) when out
    // of range.
    bool getKey(std::int16_t index, double& time, std::string& expression) const;
    double getValue(double age) const;
    std::string getTrackString() const;
    void setKeyVal(std::int16_t index, double value);
    void setKeyStr(std::int16_t index, const std::string& expression);
    bool loadTrackString(const std::string& trackString); // throws FieldError on malformed text
    void orderKeys();
    bool initialize(std::string& initialValue);
    bool addKey(const std::string& expression, double time);
    void updateKey(std::int16_t index, const Keyframe& key);
    std::string getKeyString(std::int16_t index) const;
    std::int16_t getKeys() const;

    // Makes this track hold copies of the other's keys (times and expressions), reusing this
    // track's storage: spawning copies a type's tracks into a reused live particle.
    void copyKeysFrom(const Track& other);

  private:
    std::vector<Keyframe> keys;
    std::int16_t keyCount = 0;
};

} // namespace vastorim
