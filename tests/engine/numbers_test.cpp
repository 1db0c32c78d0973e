#include "engine/numbers.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <limits>
#include <random>

using namespace vastorim;

TEST(Numbers, ConversionsRoundHalvesToEven) {
    EXPECT_EQ(toInteger(2.5), 2);
    EXPECT_EQ(toInteger(3.5), 4);
    EXPECT_EQ(toInteger(-2.5), -2);
    EXPECT_EQ(toInteger(-0.5), 0);
    EXPECT_EQ(toInteger(1.4999), 1);
    EXPECT_EQ(toInteger(32767.4), 32767);
    EXPECT_EQ(toInteger(-32768.5), -32768);
    EXPECT_EQ(toLong(2.5), 2);
    EXPECT_EQ(toLong(-2147483648.0), std::numeric_limits<std::int32_t>::min());
    EXPECT_EQ(toLong(2147483647.4), std::numeric_limits<std::int32_t>::max());
}

TEST(Numbers, ConversionsOutOfRangeAreReported) {
    EXPECT_THROW(toInteger(32767.5), RangeError);
    EXPECT_THROW(toInteger(-32769), RangeError);
    EXPECT_THROW(toInteger(std::nan("")), RangeError);
    EXPECT_THROW(toLong(2147483647.5), RangeError);
    EXPECT_THROW(toLong(std::numeric_limits<double>::infinity()), RangeError);
}

TEST(Numbers, TextFormFixedAndExponent) {
    EXPECT_EQ(numberToText(0), "0");
    EXPECT_EQ(numberToText(-0.0), "0");
    EXPECT_EQ(numberToText(0.5), "0.5");
    EXPECT_EQ(numberToText(-0.5), "-0.5");
    EXPECT_EQ(numberToText(255), "255");
    EXPECT_EQ(numberToText(1.5), "1.5");
    EXPECT_EQ(numberToText(100), "100");
    EXPECT_EQ(numberToText(0.1 + 0.2), "0.3");
    EXPECT_EQ(numberToText(3.14159265358979), "3.14159265358979");
    EXPECT_EQ(numberToText(2 * 3.14159265358979), "6.28318530717958");
    EXPECT_EQ(numberToText(1e-4), "0.0001");
    EXPECT_EQ(numberToText(1.25e-4), "0.000125");
    EXPECT_EQ(numberToText(1e-5), "1E-05");
    EXPECT_EQ(numberToText(1.5e-7), "1.5E-07");
    EXPECT_EQ(numberToText(-2.5e-300), "-2.5E-300");
    EXPECT_EQ(numberToText(123456789012345.0), "123456789012345");
    EXPECT_EQ(numberToText(999999999999999.9), "1E+15");
    EXPECT_EQ(numberToText(1e15), "1E+15");
    EXPECT_EQ(numberToText(1.5e20), "1.5E+20");
    EXPECT_EQ(numberToText(1e100), "1E+100");
    EXPECT_EQ(numberToText(1234567.8901234567), "1234567.89012346");
    EXPECT_EQ(numberToText(std::numeric_limits<double>::infinity()), "inf");
    EXPECT_EQ(numberToText(-std::numeric_limits<double>::infinity()), "-inf");
    EXPECT_EQ(numberToText(std::nan("")), "nan");
}

TEST(Numbers, TextReadsBackEveryWrittenForm) {
    EXPECT_EQ(textToNumber("0.5"), 0.5);
    EXPECT_EQ(textToNumber(" -12.25 "), -12.25);
    EXPECT_EQ(textToNumber("1E-05"), 1e-5);
    EXPECT_EQ(textToNumber("1e5"), 1e5);
    EXPECT_EQ(textToNumber("1.5E+20"), 1.5e20);
    EXPECT_EQ(textToNumber(".5"), 0.5);
    EXPECT_EQ(textToNumber("5."), 5.0);
    EXPECT_EQ(textToNumber("inf"), std::numeric_limits<double>::infinity());
    EXPECT_EQ(textToNumber("-inf"), -std::numeric_limits<double>::infinity());
    EXPECT_TRUE(std::isnan(*textToNumber("nan")));
    EXPECT_EQ(textToNumber("1E+400"), std::numeric_limits<double>::infinity());
    for (const char* bad :
         {"", " ", "abc", "1 2", "1e", "e5", ".", "-", "1.2.3", "0x10", "5)", "1,5", "infinity"}) {
        EXPECT_FALSE(textToNumber(bad).has_value()) << bad;
    }
}

TEST(Numbers, WrittenTextRoundTripsToTheSameText) {
    std::mt19937_64 generator(7);
    std::uniform_real_distribution<double> exponent(-12, 20);
    for (int i = 0; i < 20000; ++i) {
        double value = std::pow(10.0, exponent(generator)) * (generator() % 2 ? 1 : -1);
        std::string text = numberToText(value);
        auto back = textToNumber(text);
        ASSERT_TRUE(back.has_value()) << text;
        EXPECT_EQ(numberToText(*back), text);
    }
}

namespace {

double slowRound15(double value) {
    return *textToNumber(numberToText(value));
}

void expectSameAsTextRoundTrip(double value) {
    double fast = round15(value);
    double slow = slowRound15(value);
    if (std::isnan(slow)) {
        ASSERT_TRUE(std::isnan(fast));
        return;
    }
    ASSERT_EQ(std::bit_cast<std::uint64_t>(fast), std::bit_cast<std::uint64_t>(slow))
        << "value " << std::hexfloat << value;
}

} // namespace

TEST(Numbers, Round15MatchesTheTextRoundTripOnMillionsOfValues) {
    std::mt19937_64 generator(2024);
    std::uniform_real_distribution<double> exponent(-10, 17);
    std::uniform_real_distribution<double> angle(-50, 50);
    for (int i = 0; i < 1000000; ++i) {
        expectSameAsTextRoundTrip(std::pow(10.0, exponent(generator)) * (generator() % 2 ? 1 : -1));
        expectSameAsTextRoundTrip(angle(generator));
        // Arbitrary bit patterns cover every exponent, subnormals and non-finite values.
        expectSameAsTextRoundTrip(std::bit_cast<double>(generator()));
    }
}

TEST(Numbers, Round15HandlesHalvesAndBoundaries) {
    // Sixteen-digit integers ending in 5 are exact halves at the fifteenth digit.
    for (double value :
         {1234567890123455.0, 1234567890123445.0, 100000000000000.5, 100000000000001.5, 0.5, 0.125,
          2.5e-5, 1e14, 1e15, 99999999999999.99, 999999999999999.4, 999999999999999.6, 1e-8,
          9.999999999999999e-9, std::numeric_limits<double>::denorm_min(),
          std::numeric_limits<double>::max(), 0.0, -0.0}) {
        expectSameAsTextRoundTrip(value);
        expectSameAsTextRoundTrip(-value);
    }
    std::mt19937_64 generator(99);
    for (int i = 0; i < 200000; ++i) {
        // Values k / 2^n with few bits land on exact halves at many scales.
        double value = static_cast<double>(generator() % 100000000) / (1 << (generator() % 20));
        expectSameAsTextRoundTrip(value);
    }
    // A single-precision frame step times a rounded rate, as particles turn: the product's own
    // rounding often lands the scaled value on a half that the exact product is not on.
    std::uniform_real_distribution<double> rate(-3, 3);
    for (int i = 0; i < 200000; ++i) {
        expectSameAsTextRoundTrip(0.016f * round15(rate(generator)));
    }
    EXPECT_EQ(round15(0.1 + 0.2), 0.3);
    EXPECT_TRUE(std::isnan(round15(std::nan(""))));
    EXPECT_EQ(round15(-std::numeric_limits<double>::infinity()),
              -std::numeric_limits<double>::infinity());
}
