#include "engine/math_functions.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace vastorim;

TEST(MathFunctions, ApproxDistanceTakesBothXThenBothY) {
    EXPECT_EQ(approxDistance(0, 3, 0, 4), 5.2255859375f);
    EXPECT_EQ(approxDistance(3, 0, 4, 0), 5.2255859375f);
    EXPECT_EQ(approxDistance(0, 0, 0, 10), 9.833984375f);
    EXPECT_EQ(approxDistance(-5, 5, 0, 0), 9.833984375f);
    EXPECT_EQ(approxDistance(1, 1, 2, 2), 0.0f);
}

TEST(MathFunctions, MinAndMaxGiveTheSecondArgumentOnATie) {
    EXPECT_EQ(minOf(1, 2), 1);
    EXPECT_EQ(minOf(2, 1), 1);
    EXPECT_EQ(maxOf(1, 2), 2);
    EXPECT_EQ(maxOf(2, 1), 2);
    // 0 and -0 compare equal, so the sign tells which argument came back.
    EXPECT_TRUE(std::signbit(minOf(0.0f, -0.0f)));
    EXPECT_FALSE(std::signbit(minOf(-0.0f, 0.0f)));
    EXPECT_TRUE(std::signbit(maxOf(0.0f, -0.0f)));
    EXPECT_FALSE(std::signbit(maxOf(-0.0f, 0.0f)));
}
