#include "engine/math_functions.h"

#include <algorithm>
#include <cmath>

namespace vastorim {

float minOf(float a, float b) {
    return a < b ? a : b;
}

float maxOf(float a, float b) {
    return a > b ? a : b;
}

float approxDistance(float x1, float x2, float y1, float y2) {
    // Worked in double, like the rest of the game's arithmetic, and rounded once on return.
    const double dx = std::fabs(static_cast<double>(x1) - x2);
    const double dy = std::fabs(static_cast<double>(y1) - y2);
    return static_cast<float>(std::max(dx, dy) * 0.9833984375 + std::min(dx, dy) * 0.4306640625);
}

} // namespace vastorim
