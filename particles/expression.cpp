#include "particles/expression.h"

#include "engine/errors.h"
#include "engine/numbers.h"
#include "engine/random.h"
#include "engine/text_case.h"

#include <cmath>
#include <functional>
#include <initializer_list>
#include <memory>
#include <unordered_map>
#include <utility>

namespace vastorim {

namespace {

using Op = Expression::Op;

constexpr double kPi = 3.14159265358979;

std::string_view trimBlanks(std::string_view s) {
    while (!s.empty() && s.front() == ' ') {
        s.remove_prefix(1);
    }
    while (!s.empty() && s.back() == ' ') {
        s.remove_suffix(1);
    }
    return s;
}

[[noreturn]] void fail(std::string_view part, const std::string& problem) {
    throw FieldError("", "\"" + std::string(part) + "\" " + problem);
}

double readNumber(std::string_view s) {
    bool plainStart = (s.front() >= '0' && s.front() <= '9') || s.front() == '.';
    auto value = plainStart ? textToNumber(s) : std::nullopt;
    if (!value) {
        fail(s, "is not a number");
    }
    return *value;
}

// One step of a walk: a part of the text still to read, or an operation to hand to the sink
// once the parts it takes have been read.
struct WalkStep {
    std::string_view text;
    bool isText;
    Op op;
};

// Reads one part of the text: a number or word goes to the sink at once; anything else adds the
// parts it splits into and its operation to the pending steps, the first to read on top.
template <typename Sink>
void walkPart(std::string_view text, Sink& sink, std::vector<WalkStep>& pending) {
    std::string_view s = trimBlanks(text);
    std::size_t at;
    // The steps are taken from the back, so they go in from the last to the first.
    const auto then = [&](Op op, std::string_view second, std::string_view first) {
        pending.push_back({{}, false, op});
        pending.push_back({second, true, op});
        pending.push_back({first, true, op});
    };
    // Splits at the first of the operators found, trying them in the order given.
    const auto splitAtFirst = [&](std::initializer_list<std::pair<char, Op>> operators) {
        for (const auto& [symbol, op] : operators) {
            if ((at = s.find(symbol)) != std::string_view::npos) {
                then(op, s.substr(0, at), s.substr(at + 1));
                return true;
            }
        }
        return false;
    };
    if (startsWithIgnoringCase(s, "rnd")) {
        at = s.find('&');
        if (at == std::string_view::npos || at < 4) {
            fail(s, "needs its bounds written as rnd(LOW&HIGH)");
        }
        if (at + 2 > s.size()) {
            fail(s, "needs a closing bracket after its upper bound");
        }
        then(Op::Random, s.substr(at + 1, s.size() - at - 2), s.substr(4, at - 4));
        return;
    }
    if (splitAtFirst({{'*', Op::Multiply}, {'/', Op::Divide}})) {
        return;
    }
    bool cosine = startsWithIgnoringCase(s, "cos");
    if (cosine || startsWithIgnoringCase(s, "sin")) {
        at = s.find(')');
        if (at == std::string_view::npos || at < 4) {
            fail(s, "needs its argument written in brackets after the name");
        }
        pending.push_back({{}, false, cosine ? Op::Cosine : Op::Sine});
        pending.push_back({s.substr(4, at - 4), true, Op::Constant});
        return;
    }
    if (splitAtFirst({{'+', Op::Add}, {'-', Op::Subtract}})) {
        return;
    }
    if (equalsIgnoringCase(s, "pi")) {
        sink.constant(kPi);
    } else if (equalsIgnoringCase(s, "seed")) {
        sink.seed();
    } else if (s.empty() || s.find('E') != std::string_view::npos) {
        sink.constant(0);
    } else {
        sink.constant(readNumber(s));
    }
}

// The rules, tried in this order on the trimmed text, decide precedence and grouping: "rnd"
// first, then a split at the first "*", then "/", then "cos" and "sin", then "+" and "-", then
// the words and numbers. The sink hears the parts in evaluation order: inside "rnd" the lower
// bound, the upper bound, then the draw; for an operator the right part before the left. The
// pending parts live on the heap, so a long or deeply nested text needs no more machine stack
// than a short one.
template <typename Sink> void walk(std::string_view text, Sink& sink) {
    std::vector<WalkStep> pending{{text, true, Op::Constant}};
    while (!pending.empty()) {
        const WalkStep step = pending.back();
        pending.pop_back();
        if (step.isText) {
            walkPart(step.text, sink, pending);
        } else if (step.op == Op::Random) {
            sink.random();
        } else if (step.op == Op::Sine || step.op == Op::Cosine) {
            sink.function(step.op);
        } else {
            sink.binary(step.op);
        }
    }
}

double apply(Op op, double left, double right) {
    switch (op) {
    case Op::Add:
        return left + right;
    case Op::Subtract:
        return left - right;
    case Op::Multiply:
        return left * right;
    default:
        return left / right;
    }
}

double drawBetween(double low, double high) {
    low = round15(low);
    high = round15(high);
    return low + (high - low) * static_cast<double>(rnd());
}

double applyFunction(Op op, double argument) {
    return op == Op::Cosine ? std::cos(argument) : std::sin(argument);
}

// Evaluates while walking the text.
struct Interpreter {
    double seedValue;
    std::vector<double> stack;

    double pop() {
        double top = stack.back();
        stack.pop_back();
        return top;
    }
    void constant(double value) { stack.push_back(value); }
    void seed() { stack.push_back(seedValue); }
    void random() {
        double high = pop();
        double low = pop();
        stack.push_back(drawBetween(low, high));
    }
    void binary(Op op) {
        double left = pop();
        double right = pop();
        stack.push_back(apply(op, left, right));
    }
    void function(Op op) { stack.push_back(applyFunction(op, pop())); }
};

// Emits stack-machine code in evaluation order, folding every part that draws nothing and does
// not depend on the seed into one constant (same operations, same doubles).
struct Compiler {
    std::vector<Expression::Instruction> code;
    int depth = 0;
    int maxDepth = 0;
    bool usesRandom = false;

    bool constantAt(std::size_t fromEnd) const {
        return code.size() >= fromEnd && code[code.size() - fromEnd].op == Op::Constant;
    }
    void push(Expression::Instruction instruction) {
        code.push_back(instruction);
        if (++depth > maxDepth) {
            maxDepth = depth;
        }
    }
    void replaceLast(std::size_t count, Expression::Instruction instruction) {
        code.resize(code.size() - count);
        depth -= static_cast<int>(count);
        push(instruction);
    }
    void constant(double value) { push({Op::Constant, value}); }
    void seed() { push({Op::Seed}); }
    void random() {
        usesRandom = true;
        if (constantAt(1) && constantAt(2)) {
            double low = round15(code[code.size() - 2].a);
            double high = round15(code.back().a);
            replaceLast(2, {Op::RandomConstant, low, high});
        } else {
            code.push_back({Op::Random});
            --depth;
        }
    }
    void binary(Op op) {
        if (constantAt(1) && constantAt(2)) {
            double left = code.back().a;
            double right = code[code.size() - 2].a;
            replaceLast(2, {Op::Constant, apply(op, left, right)});
        } else {
            code.push_back({op});
            --depth;
        }
    }
    void function(Op op) {
        if (constantAt(1)) {
            code.back().a = applyFunction(op, code.back().a);
        } else {
            code.push_back({op});
        }
    }
};

constexpr std::size_t kCacheLimit = 1u << 14;

struct ExpressionCache {
    struct Hash {
        using is_transparent = void;
        std::size_t operator()(std::string_view text) const {
            return std::hash<std::string_view>{}(text);
        }
    };
    std::unordered_map<std::string, std::unique_ptr<Expression>, Hash, std::equal_to<>> byText;
    unsigned generation = 1;
};

ExpressionCache cache;

// Longer texts are refused with an error: no effect needs one, and each costs cache memory.
constexpr std::size_t kLongestText = 10000;

template <typename Sink> void walkWhole(std::string_view text, Sink& sink) {
    if (text.size() > kLongestText) {
        throw FieldError("", "an expression of " + std::to_string(text.size()) +
                                 " characters is longer than the " + std::to_string(kLongestText) +
                                 " allowed");
    }
    try {
        walk(text, sink);
    } catch (const FieldError& error) {
        throw FieldError("", "in \"" + std::string(text) + "\": " + error.message());
    }
}

} // namespace

Expression::Expression(std::string_view text) : source_(text), trimmed_(trimBlanks(text)) {
    Compiler compiler;
    walkWhole(text, compiler);
    code_ = std::move(compiler.code);
    depth_ = compiler.maxDepth;
    usesRandom_ = compiler.usesRandom;
}

double Expression::evaluate(double seed) const {
    if (code_.size() == 1 && code_[0].op == Op::Constant) {
        return code_[0].a;
    }
    constexpr int kSmall = 32;
    double small[kSmall];
    std::vector<double> large;
    double* stack = small;
    if (depth_ > kSmall) {
        large.resize(static_cast<std::size_t>(depth_));
        stack = large.data();
    }
    int top = -1;
    for (const Instruction& in : code_) {
        switch (in.op) {
        case Op::Constant:
            stack[++top] = in.a;
            break;
        case Op::Seed:
            stack[++top] = seed;
            break;
        case Op::RandomConstant:
            stack[++top] = in.a + (in.b - in.a) * static_cast<double>(rnd());
            break;
        case Op::Random:
            stack[top - 1] = drawBetween(stack[top - 1], stack[top]);
            --top;
            break;
        case Op::Sine:
        case Op::Cosine:
            stack[top] = applyFunction(in.op, stack[top]);
            break;
        default:
            // The left part was pushed last.
            stack[top - 1] = apply(in.op, stack[top], stack[top - 1]);
            --top;
            break;
        }
    }
    return stack[0];
}

const Expression& compileExpression(std::string_view text) {
    auto found = cache.byText.find(text);
    if (found != cache.byText.end()) {
        return *found->second;
    }
    auto compiled = std::make_unique<Expression>(text);
    if (cache.byText.size() >= kCacheLimit) {
        // Texts that game code writes (a heading per shot) must not grow the cache forever.
        resetExpressionCache();
    }
    return *cache.byText.emplace(std::string(text), std::move(compiled)).first->second;
}

void resetExpressionCache() {
    cache.byText.clear();
    ++cache.generation;
}

const Expression& ExpressionRef::get(const std::string& text) const {
    if (expression_ == nullptr || generation_ != cache.generation ||
        expression_->source() != text) {
        expression_ = &compileExpression(text);
        generation_ = cache.generation;
    }
    return *expression_;
}

namespace {

double evaluateAndTrim(std::string& text, double seed, const Expression& expression) {
    double value = expression.evaluate(seed);
    if (expression.trimmed().size() != text.size()) {
        text = expression.trimmed();
    }
    return value;
}

} // namespace

double evaluateExpression(std::string& text, const double& seed) {
    return evaluateAndTrim(text, seed, compileExpression(text));
}

double evaluateExpression(std::string& text, const double& seed, const ExpressionRef& remembered) {
    return evaluateAndTrim(text, seed, remembered.get(text));
}

double interpretExpression(std::string_view text, double seed) {
    Interpreter interpreter{seed, {}};
    walkWhole(text, interpreter);
    return interpreter.stack.back();
}

} // namespace vastorim
