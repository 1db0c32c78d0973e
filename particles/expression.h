#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vastorim {

// An expression text compiled once into a small program. Evaluating it gives exactly what
// evaluating the text gives, with the same random draws in the same order.
class Expression {
  public:
    // Compiles the text; throws FieldError naming the text and the part that is wrong.
    explicit Expression(std::string_view text);

    double evaluate(double seed) const;

    const std::string& source() const { return source_; }   // the text as given
    const std::string& trimmed() const { return trimmed_; } // without surrounding blanks
    bool usesRandom() const { return usesRandom_; }

    enum class Op : std::uint8_t {
        Constant,
        Seed,
        Random,
        RandomConstant,
        Add,
        Subtract,
        Multiply,
        Divide,
        Sine,
        Cosine
    };
    struct Instruction {
        Op op;
        double a = 0;
        double b = 0;
    };

  private:
    std::string source_;
    std::string trimmed_;
    std::vector<Instruction> code_;
    int depth_ = 0;
    bool usesRandom_ = false;
};

// The compiled form of a text, from a cache keyed by the text: each distinct text is compiled
// once. Throws FieldError like the constructor (failures are not cached).
const Expression& compileExpression(std::string_view text);

// Forgets every compiled text (module reset). References from compileExpression die with it;
// ExpressionRef notices and compiles again.
void resetExpressionCache();

// A remembered compiled form for one text holder (a key's value, a particle's seed): looks the
// text up only when it changed or the cache was reset since.
class ExpressionRef {
  public:
    const Expression& get(const std::string& text) const;

  private:
    mutable const Expression* expression_ = nullptr;
    mutable unsigned generation_ = 0;
};

// The value of an expression text with "seed" standing for seed. The text's surrounding blanks
// are removed in the caller's variable. Throws FieldError on a malformed text.
double evaluateExpression(std::string& text, const double& seed);

// The same, through a remembered compiled form (no cache look-up while the text stays the same).
double evaluateExpression(std::string& text, const double& seed, const ExpressionRef& remembered);

// Evaluates the text directly, without compiling it: the plain reading of the rules that the
// compiled form is held to in tests and benchmarks.
double interpretExpression(std::string_view text, double seed);

} // namespace vastorim
