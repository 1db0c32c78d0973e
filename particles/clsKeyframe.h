#pragma once

#include "particles/mod_Particle_Functions.h"

#include <string>

namespace vastorim {

// One key of a track: a time in seconds of particle age and a value expression.
class clsKeyframe {
  public:
    double dblTime = 0;
    std::string strValue;
    double dblValue = 0; // the baked value, or one set with setKeyVal

    bool createKey(const std::string& strValue_, double dblTime_);
    std::string getKeyString() const;              // "TIME|VALUE"
    bool loadKeyString(const std::string& strKey); // throws FieldError on malformed text

    // The compiled form of strValue (compiled again only when the text changes).
    const Expression& expression() const { return compiled_.get(strValue); }

  private:
    ExpressionRef compiled_;
};

} // namespace vastorim
