#include "engine/errors.h"
#include "engine/numbers.h"
#include "engine/random.h"
#include "particles/expression.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <optional>
#include <random>

using namespace vastorim;

namespace {

constexpr double kPi = 3.14159265358979;

double eval(std::string text, double seed = 0) {
    return evaluateExpression(text, seed);
}

// Both evaluators from the same generator state must agree bit for bit, draw the same number of
// values and fail on the same texts. Gives whether the text was valid.
bool compiledMatchesText(const std::string& text, double seed, std::uint64_t rngSeed) {
    const auto run = [&](auto evaluate) -> std::optional<double> {
        seedRandom(rngSeed);
        try {
            return evaluate();
        } catch (const FieldError&) {
            return std::nullopt;
        }
    };
    const auto interpreted = run([&] { return interpretExpression(text, seed); });
    const float nextAfterText = rnd();
    const auto compiled = run([&] { return compileExpression(text).evaluate(seed); });
    EXPECT_EQ(interpreted.has_value(), compiled.has_value()) << text;
    if (!interpreted || !compiled) {
        return false;
    }
    EXPECT_EQ(nextAfterText, rnd()) << "different draws for " << text;
    EXPECT_TRUE(std::isnan(*interpreted) ? std::isnan(*compiled)
                                         : std::bit_cast<std::uint64_t>(*interpreted) ==
                                               std::bit_cast<std::uint64_t>(*compiled))
        << text << ": " << *interpreted << " vs " << *compiled;
    return true;
}

// Mostly valid texts, with spacing, case, exponents and a few malformed atoms mixed in.
std::string randomExpression(std::mt19937& g, int depth) {
    static const char* atoms[] = {"1",     "2.5", "0",   "seed", "pi",  "PI",  "Seed", "",    "10",
                                  "0.001", "1e2", "1E5", "3",    " 7 ", "255", "128",  "abc", "2)"};
    static const char* ops[] = {"+", "-", "*", "/", " + ", " - ", " * "};
    auto term = [&] {
        int choice = static_cast<int>(g() % (depth > 0 ? 9 : 6));
        if (choice < 6) {
            return std::string(atoms[g() % std::size(atoms)]);
        }
        std::string inner = randomExpression(g, depth - 1);
        if (choice == 6) {
            return "rnd(" + randomExpression(g, depth - 1) + "&" + inner + ")";
        }
        return (choice == 7 ? "sin(" : "COS(") + inner + ")";
    };
    std::string text = term();
    for (int extra = static_cast<int>(g() % 3); extra > 0; --extra) {
        text += ops[g() % std::size(ops)] + term();
    }
    return text;
}

TEST(Expression, EvaluatesByTheRuleTable) {
    struct Case {
        const char* text;
        double seed;
        double value;
    };
    for (Case c :
         {Case{"1+2*3", 0, 9}, Case{"2*3+4", 0, 14}, Case{"10-4-3", 0, 9}, Case{"8/4/2", 0, 4},
          Case{"1/0", 0, 1 / 0.0}, Case{"-5", 0, -5}, Case{"  2 * pi  ", 0, 2 * kPi},
          Case{"PI", 0, kPi}, Case{"seed*10", .25, 2.5}, Case{"SEED", 4, 4}, Case{"", 0, 0},
          Case{"   ", 0, 0}, Case{"1E5", 0, 0}, Case{"1e5", 0, 100000}, Case{"1.5E-05", 0, -5},
          Case{"-1/0", 0, -1 / 0.0}, Case{"cos(1-1)", 0, 1}, Case{"sin(pi)+1", 0, std::sin(kPi)},
          Case{"sin(rnd(0&1))", 0, 0}}) {
        EXPECT_EQ(eval(c.text, c.seed), c.value) << c.text;
    }
    EXPECT_NEAR(eval("1+sin(pi)"), 1, 1e-12);
    EXPECT_TRUE(std::isnan(eval("0/0")));
    EXPECT_EQ(numberToText(eval("2*pi")), "6.28318530717958");
    std::string padded = "  rnd(1&2) ";
    std::string inner = "1 + 2";
    evaluateExpression(padded, 0);
    evaluateExpression(inner, 0);
    EXPECT_EQ(padded, "rnd(1&2)") << "trimming is written back";
    EXPECT_EQ(inner, "1 + 2");
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
    std::string overlong;
    for (int i = 0; i < 6000; ++i) {
        overlong += "1+";
    }
    EXPECT_THROW(compileExpression(overlong), FieldError) << "refused, not a stack overflow";
}

TEST(Expression, RandomRangesDrawInOrderWithRoundedBounds) {
    seedRandom(8);
    const double first = rnd();
    const double second = rnd();
    seedRandom(8);
    EXPECT_EQ(eval("pi*rnd(-1&1)"), kPi * (-1 + 2 * first));
    seedRandom(8);
    EXPECT_EQ(eval("rnd(0&rnd(1&2))"), round15(1 + first) * second) << "inner range draws first";
    EXPECT_EQ(eval("rnd(0.1+0.2&0.1+0.2)"), 0.3) << "bounds rounded to fifteen digits";
}

TEST(Expression, CompiledTreesMatchTheTextOnGeneratedExpressions) {
    std::mt19937 g(1234);
    int valid = 0;
    for (int i = 0; i < 50000 && !HasFailure(); ++i) {
        std::string text = randomExpression(g, 3);
        double seed = static_cast<double>(g() % 1000) / 64.0 - 4;
        valid += compiledMatchesText(text, seed, g()) ? 1 : 0;
    }
    EXPECT_GT(valid, 15000) << "the generator should mostly produce valid texts";
    for (const char* text : {"sin(rnd(0&1))", "rnd(0&rnd(1&2))", "1/0", "0/0",
                             "cos(seed)*rnd(seed&seed*2)", "seed/rnd(3&4)"}) {
        EXPECT_TRUE(compiledMatchesText(text, 0.75, 3)) << text;
    }
}

} // namespace
