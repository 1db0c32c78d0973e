#include "engine/math_functions.h"

#include <array>
#include <cmath>
#include <cstddef>

namespace vastorim {

float minOf(float a, float b) {
    return a < b ? a : b;
}

float maxOf(float a, float b) {
    return a > b ? a : b;
}

namespace {

// pi/2 in four parts whose first three hold 33 significant bits each, so that their products
// with a quadrant count below 2^20 are exact (the split the classic libm reduction uses).
constexpr double halfPi1 = 1.57079632673412561417e+00;
constexpr double halfPi2 = 6.07710050630396597660e-11;
constexpr double halfPi3 = 2.02226624871116645580e-21;
constexpr double halfPi4 = 8.47842766036889956997e-32;
constexpr double twoOverPi = 6.36619772367581382433e-01;

// The angle less a whole number of quarter turns, in [-pi/4, pi/4], and that number modulo 4.
double reduced(double radians, int& quarter) {
    const double turns = std::nearbyint(radians * twoOverPi);
    quarter = static_cast<int>(static_cast<long long>(std::fmod(turns, 4.0) + 4.0) & 3);
    return ((((radians - turns * halfPi1) - turns * halfPi2) - turns * halfPi3) - turns * halfPi4);
}

// Taylor series on [-pi/4, pi/4], where the first term left out is below 1e-19 of the sum:
// the coefficients are +-1/n!, summed from the highest power down.
constexpr std::array<double, 8> sineTerms = {
    -0.16666666666666666,   0.008333333333333333,   -0.0001984126984126984, 2.7557319223985893e-06,
    -2.505210838544172e-08, 1.6059043836821613e-10, -7.647163731819816e-13, 2.8114572543455206e-15};
constexpr std::array<double, 9> cosineTerms = {-0.5,
                                               0.041666666666666664,
                                               -0.001388888888888889,
                                               2.48015873015873e-05,
                                               -2.755731922398589e-07,
                                               2.08767569878681e-09,
                                               -1.1470745597729725e-11,
                                               4.779477332387385e-14,
                                               -1.5619206968586225e-16};

template <std::size_t count> double series(const std::array<double, count>& terms, double x2) {
    double sum = 0;
    for (std::size_t i = count; i-- > 0;) {
        sum = (sum + terms[i]) * x2;
    }
    return sum;
}

double sineOfReduced(double x) {
    return x + x * series(sineTerms, x * x);
}

double cosineOfReduced(double x) {
    return 1.0 + series(cosineTerms, x * x);
}

// sin(radians + shift quarter turns).
double sineShiftedBy(double radians, int shift) {
    if (!std::isfinite(radians)) {
        return radians - radians; // NaN, as the C library gives
    }
    int quarter = 0;
    const double x = reduced(radians, quarter);
    switch ((quarter + shift) & 3) {
    case 0:
        return sineOfReduced(x);
    case 1:
        return cosineOfReduced(x);
    case 2:
        return -sineOfReduced(x);
    default:
        return -cosineOfReduced(x);
    }
}

} // namespace

float approxDistance(float x1, float x2, float y1, float y2) {
    float dx = std::fabs(x1 - x2);
    float dy = std::fabs(y1 - y2);
    return maxOf(dx, dy) * 0.9833984375f + minOf(dx, dy) * 0.4306640625f;
}

double sine(double radians) {
    return sineShiftedBy(radians, 0);
}

double cosine(double radians) {
    return sineShiftedBy(radians, 1);
}

} // namespace vastorim
