#include "engine/math_functions.h"

#include <cmath>

namespace vastorim {

float minOf(float a, float b) {
    return a < b ? a : b;
}

float maxOf(float a, float b) {
    return a > b ? a : b;
}

float approxDistance(float x1, float x2, float y1, float y2) {
    float dx = std::fabs(x1 - x2);
    float dy = std::fabs(y1 - y2);
    return maxOf(dx, dy) * 0.9833984375f + minOf(dx, dy) * 0.4306640625f;
}

} // namespace vastorim
