#include "engine/errors.h"
#include "engine/numbers.h"
#include "engine/random.h"
#include "particles/mod_Particle_Functions.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <random>

using namespace vastorim;

namespace {

double eval(std::string text, double seed = 0) {
    return evaluateExpression(text, seed);
}

// Runs both evaluators from the same generator state; they must agree bit for bit, draw the same
// number of values, and fail on the same texts.
// Gives whether the text was valid.
bool expectCompiledMatchesText(const std::string& text, double seed, std::uint64_t rngSeed) {
    seedRandom(rngSeed);
    double interpreted = 0;
    bool interpretedFailed = false;
    try {
        interpreted = interpretExpression(text, seed);
    } catch (const FieldError&) {
        interpretedFailed = true;
    }
    float nextAfterText = rnd();

    seedRandom(rngSeed);
    double compiled = 0;
    bool compiledFailed = false;
    try {
        compiled = compileExpression(text).evaluate(seed);
    } catch (const FieldError&) {
        compiledFailed = true;
    }
    EXPECT_EQ(interpretedFailed, compiledFailed) << text;
    if (compiledFailed || interpretedFailed) {
        return false;
    }
    float nextAfterTree = rnd();
    EXPECT_EQ(nextAfterText, nextAfterTree) << "different draws for " << text;
    if (std::isnan(interpreted)) {
        EXPECT_TRUE(std::isnan(compiled)) << text;
    } else {
        EXPECT_EQ(std::bit_cast<std::uint64_t>(interpreted), std::bit_cast<std::uint64_t>(compiled))
            << text << ": " << interpreted << " vs " << compiled;
    }
    return true;
}

std::string randomTerm(std::mt19937& g, int depth);

std::string randomExpression(std::mt19937& g, int depth) {
    static const char* ops[] = {"+", "-", "*", "/", " + ", " - ", " * "};
    std::string text = randomTerm(g, depth);
    int extra = static_cast<int>(g() % 3);
    for (int i = 0; i < extra; ++i) {
        text += ops[g() % 7] + randomTerm(g, depth);
    }
    return text;
}

std::string randomTerm(std::mt19937& g, int depth) {
    static const char* atoms[] = {"1",     "2.5", "0",   "seed", "pi",  "PI",  "Seed", "",    "10",
                                  "0.001", "1e2", "1E5", "3",    " 7 ", "255", "128",  "abc", "2)"};
    int choice = static_cast<int>(g() % (depth > 0 ? 9 : 6));
    if (choice < 6) {
        return atoms[g() % (sizeof atoms / sizeof atoms[0])];
    }
    std::string inner = randomExpression(g, depth - 1);
    switch (choice) {
    case 6:
        return "rnd(" + randomExpression(g, depth - 1) + "&" + inner + ")";
    case 7:
        return "sin(" + inner + ")";
    default:
        return "COS(" + inner + ")";
    }
}

} // namespace

TEST(Expression, GroupingFollowsTheRuleOrder) {
    EXPECT_EQ(eval("1+2*3"), 9);
    EXPECT_EQ(eval("2*3+4"), 14);
    EXPECT_EQ(eval("10-4-3"), 9);
    EXPECT_EQ(eval("8/4/2"), 4);
    EXPECT_EQ(eval("2*8/4"), 4);
    EXPECT_EQ(eval("-5"), -5);
    EXPECT_EQ(eval("  2 * pi  "), 2 * 3.14159265358979);
    EXPECT_EQ(numberToText(eval("  2 * pi  ")), "6.28318530717958");
    EXPECT_EQ(eval("PI"), 3.14159265358979);
    EXPECT_EQ(eval("seed*10", 0.25), 2.5);
    EXPECT_EQ(eval("SEED", 4), 4);
    EXPECT_EQ(eval(""), 0);
    EXPECT_EQ(eval("   "), 0);
    EXPECT_EQ(eval("1E5"), 0);
    EXPECT_EQ(eval("1e5"), 100000);
    EXPECT_EQ(eval("1.5E-05"), -5);
    EXPECT_EQ(eval("cos(0)"), 1);
    EXPECT_EQ(eval("sin(pi)+1"), std::sin(3.14159265358979));
    EXPECT_NEAR(eval("1+sin(pi)"), 1, 1e-12);
    EXPECT_EQ(eval("cos(1-1)"), 1);
    EXPECT_EQ(eval("sin(rnd(0&1))"), 0);
}

TEST(Expression, DivisionByZeroGivesNonFiniteValues) {
    EXPECT_EQ(eval("1/0"), std::numeric_limits<double>::infinity());
    EXPECT_EQ(eval("-1/0"), -std::numeric_limits<double>::infinity());
    EXPECT_TRUE(std::isnan(eval("0/0")));
}

TEST(Expression, MalformedTextsAreErrorsNamingTheText) {
    for (const char* bad : {"abc", "rnd(1&2)+3", "sin(pi/2)", "tan(1)", "rnd(1)", "rnd&1)",
                            "rnd(1&", "sin(1", "sin)", "(5)", "1 2", "1e", "inf", "5+x"}) {
        try {
            eval(bad);
            ADD_FAILURE() << bad << " was accepted";
        } catch (const FieldError& error) {
            EXPECT_NE(std::string(error.what()).find(bad), std::string::npos) << error.what();
        }
    }
}

TEST(Expression, RandomRangesDrawInOrderWithRoundedBounds) {
    seedRandom(11);
    for (int i = 0; i < 1000; ++i) {
        double value = eval("rnd(1&2)");
        ASSERT_GE(value, 1);
        ASSERT_LT(value, 2);
        double nested = eval("rnd(0&rnd(1&2))");
        ASSERT_GE(nested, 0);
        ASSERT_LT(nested, 2);
    }
    // pi*rnd(-1&1): the right part draws first; its bounds come from the generator directly.
    seedRandom(5);
    double r = rnd();
    seedRandom(5);
    EXPECT_EQ(eval("pi*rnd(-1&1)"), 3.14159265358979 * (-1 + 2 * static_cast<double>(r)));
    // Bounds are rounded to fifteen significant digits before the draw.
    seedRandom(5);
    EXPECT_EQ(eval("rnd(0.1+0.2&0.1+0.2)"), 0.3);
    // Two draws: the upper bound's before the outer one.
    seedRandom(8);
    float first = rnd();
    float second = rnd();
    double inner = round15(1 + static_cast<double>(first));
    seedRandom(8);
    EXPECT_EQ(eval("rnd(0&rnd(1&2))"), inner * static_cast<double>(second));
}

TEST(Expression, TrimmingIsWrittenBack) {
    std::string text = "  rnd(1&2) ";
    double seed = 0;
    evaluateExpression(text, seed);
    EXPECT_EQ(text, "rnd(1&2)");
    std::string inner = "1 + 2";
    evaluateExpression(inner, seed);
    EXPECT_EQ(inner, "1 + 2");
}

TEST(Expression, CompiledTreesMatchTheTextOnGeneratedExpressions) {
    std::mt19937 g(1234);
    int valid = 0;
    for (int i = 0; i < 100000 && !HasFailure(); ++i) {
        std::string text = randomExpression(g, 3);
        double seed = static_cast<double>(g() % 1000) / 64.0 - 4;
        valid += expectCompiledMatchesText(text, seed, g()) ? 1 : 0;
    }
    EXPECT_GT(valid, 30000) << "the generator should mostly produce valid texts";
    for (const char* text : {"sin(rnd(0&1))", "rnd(0&rnd(1&2))", "1/0", "0/0",
                             "cos(seed)*rnd(seed&seed*2)", "seed/rnd(3&4)"}) {
        EXPECT_TRUE(expectCompiledMatchesText(text, 0.75, 3)) << text;
    }
}

TEST(Expression, EachTextIsCompiledOnce) {
    resetExpressionCache();
    const Expression& first = compileExpression("seed*rnd(1&2)");
    const Expression& again = compileExpression("seed*rnd(1&2)");
    EXPECT_EQ(&first, &again);
    EXPECT_TRUE(first.usesRandom());
    EXPECT_FALSE(compileExpression("2*pi").usesRandom());

    ExpressionRef ref;
    std::string text = "seed+1";
    EXPECT_EQ(ref.get(text).evaluate(1), 2);
    text = "seed+2";
    EXPECT_EQ(ref.get(text).evaluate(1), 3);
    resetExpressionCache();
    EXPECT_EQ(ref.get(text).evaluate(2), 4);
}

TEST(Expression, OverlongTextsAreRefusedRatherThanExhaustingTheStack) {
    std::string text;
    for (int i = 0; i < 6000; ++i) {
        text += "1+";
    }
    EXPECT_THROW(compileExpression(text), FieldError);
}
