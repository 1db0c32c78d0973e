#pragma once

#include "particles/clsKeyframe.h"

#include <cstdint>
#include <string>
#include <vector>

namespace vastorim {

// How one property of a particle changes over its life: keys interpolated linearly by age.
class clsTrack {
  public:
    void bakeKeys(double seed);
    // Copies key iKey's time and expression; false (arguments untouched) when out of range.
    bool getKey(std::int16_t iKey, double& dblTime, std::string& strValue) const;
    double getValue(double dblTime) const;
    std::string getTrackString() const;
    void setKeyVal(std::int16_t intIndex, double dblValue);
    void setKeyStr(std::int16_t intIndex, const std::string& value);
    bool loadTrackString(const std::string& strTrack); // throws FieldError on malformed text
    void orderKeys();
    bool initialize(std::string& strInitialValue);
    bool addKey(const std::string& strValue, double dblTime);
    void updateKey(std::int16_t iKey, const clsKeyframe& key);
    std::string getKeyString(std::int16_t iKey) const;
    std::int16_t getKeys() const;

    // Makes this track hold copies of the other's keys (times and expressions), reusing this
    // track's storage: spawning copies a type's tracks into a reused live particle.
    void copyKeysFrom(const clsTrack& other);

  private:
    std::vector<clsKeyframe> keys;
    std::int16_t intKeyCount = 0;
};

} // namespace vastorim
