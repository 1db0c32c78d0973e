#pragma once

#include "particles/expression.h"

#include <string>

namespace vastorim {

// One key of a track: a time in seconds of particle age and a value expression.
class Keyframe {
  public:
    double time = 0;
    std::string expression;
    double value = 0; // the baked value, or one set with setKeyVal

    bool createKey(const std::string& valueExpression, double keyTime);
    std::string getKeyString() const;            // "TIME|VALUE"
    bool loadKeyString(const std::string& text); // throws FieldError on malformed text

    // The compiled form of the expression (compiled again only when the text changes).
    const Expression& compiled() const { return compiled_.get(expression); }

  private:
    ExpressionRef compiled_;
};

} // namespace vastorim
