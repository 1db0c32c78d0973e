#include "engine/math_functions.h"
#include "engine/numbers.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <limits>
#include <numbers>
#include <optional>
#include <random>
#include <vector>

using namespace vastorim;

namespace {

constexpr double inf = std::numeric_limits<double>::infinity();
const double nan = std::nan("");

TEST(Numbers, ConversionsRoundHalvesToEvenAndReportOverflow) {
    const std::pair<double, int> integers[] = {{2.5, 2},          {3.5, 4},    {-2.5, -2},
                                               {-0.5, 0},         {1.4999, 1}, {32767.4, 32767},
                                               {-32768.5, -32768}};
    for (auto [value, expected] : integers) {
        EXPECT_EQ(toInteger(value), expected) << value;
    }
    EXPECT_EQ(toLong(2.5), 2);
    EXPECT_EQ(toLong(-2147483648.0), std::numeric_limits<std::int32_t>::min());
    EXPECT_EQ(toLong(2147483647.4), std::numeric_limits<std::int32_t>::max());
    for (double bad : {32767.5, -32769.0, nan}) {
        EXPECT_THROW(toInteger(bad), RangeError) << bad;
    }
    for (double bad : {2147483647.5, inf}) {
        EXPECT_THROW(toLong(bad), RangeError) << bad;
    }
}

TEST(Numbers, WholeNumbersAreCheckedBeforeTheyAreConverted) {
    constexpr std::int64_t most = std::numeric_limits<std::int64_t>::max();
    for (const auto& [text, value] : {std::pair<const char*, std::int64_t>{" 12 ", 12},
                                      {"+7", 7},
                                      {"1e3", 1000},
                                      {"9223372036854775807", most}}) {
        EXPECT_EQ(wholeNumber(text, 0, most), value) << text;
    }
    for (const char* refused : {"9223372036854775808", "1e300", "inf", "nan", "-2147483649", "2.5",
                                "", "1e19", "4x", "16"}) {
        EXPECT_EQ(wholeNumber(refused, 0, 15), std::nullopt) << refused;
    }
}

TEST(Numbers, TextFormIsShortestFixedOrExponentToFifteenDigits) {
    using Forms = std::vector<std::pair<double, const char*>>;
    const Forms fixed = {{0, "0"},       {-0.0, "0"},        {0.5, "0.5"},          {-0.5, "-0.5"},
                         {100, "100"},   {0.1 + 0.2, "0.3"}, {1.25e-4, "0.000125"}, {inf, "inf"},
                         {-inf, "-inf"}, {nan, "nan"}};
    const Forms fifteenDigits = {{3.14159265358979, "3.14159265358979"},
                                 {1234567.8901234567, "1234567.89012346"},
                                 {123456789012345.0, "123456789012345"}};
    const Forms exponent = {{1e-5, "1E-05"},          {1.5e-7, "1.5E-07"},
                            {-2.5e-300, "-2.5E-300"}, {999999999999999.9, "1E+15"},
                            {1.5e20, "1.5E+20"},      {1e100, "1E+100"}};
    for (const Forms& forms : {fixed, fifteenDigits, exponent}) {
        for (auto [value, text] : forms) {
            EXPECT_EQ(numberToText(value), text);
        }
    }
}

TEST(Numbers, TextToNumberReadsEveryWrittenFormAndRejectsOthers) {
    const std::pair<const char*, double> forms[] = {
        {"0.5", 0.5}, {" -12.25 ", -12.25}, {"1E-05", 1e-5}, {"1e5", 1e5},   {"1.5E+20", 1.5e20},
        {".5", 0.5},  {"5.", 5.0},          {"-inf", -inf},  {"1E+400", inf}};
    for (auto [text, value] : forms) {
        EXPECT_EQ(textToNumber(text), value) << text;
    }
    EXPECT_TRUE(std::isnan(*textToNumber("nan")));
    for (const char* bad :
         {"", " ", "abc", "1 2", "1e", "e5", ".", "-", "1.2.3", "0x10", "5)", "1,5", "infinity"}) {
        EXPECT_FALSE(textToNumber(bad).has_value()) << bad;
    }
}

// round15 is the fast form of reading back the written text; the written text reads back to
// itself unless rounding took it past the largest double.
void expectSameAsTextRoundTrip(double value) {
    const std::string text = numberToText(value);
    const std::optional<double> back = textToNumber(text);
    ASSERT_TRUE(back.has_value()) << text;
    if (std::isfinite(*back) || !std::isfinite(value)) {
        ASSERT_EQ(numberToText(*back), text);
    }
    const double fast = round15(value);
    if (std::isnan(*back)) {
        ASSERT_TRUE(std::isnan(fast));
        return;
    }
    ASSERT_EQ(std::bit_cast<std::uint64_t>(fast), std::bit_cast<std::uint64_t>(*back))
        << "value " << std::hexfloat << value;
}

TEST(Numbers, Round15MatchesTheTextRoundTrip) {
    std::mt19937_64 generator(2024);
    std::uniform_real_distribution<double> exponent(-12, 20);
    std::uniform_real_distribution<double> angle(-50, 50);
    for (int i = 0; i < 150000; ++i) {
        expectSameAsTextRoundTrip(std::pow(10.0, exponent(generator)) * (generator() % 2 ? 1 : -1));
        expectSameAsTextRoundTrip(angle(generator));
        // Arbitrary bit patterns cover every exponent, subnormals and non-finite values.
        expectSameAsTextRoundTrip(std::bit_cast<double>(generator()));
        // Few-bit fractions land on exact halves at many scales.
        expectSameAsTextRoundTrip(static_cast<double>(generator() % 100000000) /
                                  (1 << (generator() % 20)));
        // A single-precision frame step times a rounded rate, as particles turn: the product's
        // own rounding often lands on a half that the exact product is not on.
        expectSameAsTextRoundTrip(0.016f * round15(angle(generator) / 16));
    }
    // Sixteen-digit integers ending in 5 are exact halves at the fifteenth digit.
    for (double value :
         {1234567890123455.0, 1234567890123445.0, 100000000000000.5, 100000000000001.5, 0.125,
          2.5e-5, 1e14, 1e15, 99999999999999.99, 999999999999999.4, 999999999999999.6, 1e-8,
          9.999999999999999e-9, std::numeric_limits<double>::denorm_min(),
          std::numeric_limits<double>::max(), 0.0, -0.0}) {
        expectSameAsTextRoundTrip(value);
        expectSameAsTextRoundTrip(-value);
    }
}

TEST(MathFunctions, ApproxDistanceTakesBothXThenBothY) {
    EXPECT_EQ(approxDistance(0, 3, 0, 4), 5.2255859375f);
    EXPECT_EQ(approxDistance(3, 0, 4, 0), 5.2255859375f);
    EXPECT_EQ(approxDistance(0, 0, 0, 10), 9.833984375f);
    EXPECT_EQ(approxDistance(-5, 5, 0, 0), 9.833984375f);
    EXPECT_EQ(approxDistance(1, 1, 2, 2), 0.0f);
    // Rounded once to single precision: three single roundings give 0.239746109f and 943.66748f.
    EXPECT_EQ(approxDistance(0.1f, 0, 0.2f, 0), 0.239746094f);
    EXPECT_EQ(approxDistance(700.25f, 3.5f, 0.1f, 600.3f), 943.667419f);
}

// 0 and -0 compare equal, so the sign tells which argument came back.
TEST(MathFunctions, MinAndMaxGiveTheSecondArgumentOnATie) {
    EXPECT_EQ(minOf(2, 1), 1);
    EXPECT_EQ(maxOf(1, 2), 2);
    EXPECT_TRUE(std::signbit(minOf(0.0f, -0.0f)));
    EXPECT_FALSE(std::signbit(minOf(-0.0f, 0.0f)));
    EXPECT_TRUE(std::signbit(maxOf(0.0f, -0.0f)));
    EXPECT_FALSE(std::signbit(maxOf(-0.0f, 0.0f)));
}

// Against the C library on this machine: the same values to within two units in the last place
// from the quarter turns out to a million radians; outside the numbers, what the library gives.
TEST(MathFunctions, SineAndCosineKeepToTheLibraryWithinTwoUnitsInTheLastPlace) {
    // Doubles in order as unsigned integers, so that the distance never overflows, also across 0.
    const auto units = [](double a, double b) {
        const auto ordered = [](double v) {
            const auto bits = std::bit_cast<std::uint64_t>(v);
            return bits >> 63 ? ~bits : bits | (std::uint64_t{1} << 63);
        };
        const std::uint64_t x = ordered(a), y = ordered(b);
        return x > y ? x - y : y - x;
    };
    std::mt19937_64 draws(5);
    std::vector<double> angles = {0,
                                  -0.0,
                                  1e-300,
                                  0.5,
                                  std::numbers::pi / 4,
                                  std::numbers::pi,
                                  -std::numbers::pi / 2,
                                  3 * std::numbers::pi / 2,
                                  1e6};
    for (int i = 0; i < 20000; ++i) {
        angles.push_back(std::uniform_real_distribution<double>(-1000, 1000)(draws));
    }
    for (const double angle : angles) {
        const double s = sine(angle), c = cosine(angle);
        EXPECT_TRUE(units(s, std::sin(angle)) <= 2 || std::abs(s - std::sin(angle)) < 1e-30)
            << angle;
        EXPECT_TRUE(units(c, std::cos(angle)) <= 2 || std::abs(c - std::cos(angle)) < 1e-30)
            << angle;
    }
    for (const double bad : {std::numeric_limits<double>::infinity(), std::nan("")}) {
        EXPECT_TRUE(std::isnan(sine(bad)) && std::isnan(cosine(bad)));
    }
}

} // namespace
