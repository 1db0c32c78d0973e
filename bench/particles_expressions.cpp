// Compiled expression trees against evaluating the text each time, on the same expressions.
#include "engine/random.h"
#include "particles/expression.h"

#include <benchmark/benchmark.h>

#include <array>
#include <string>

namespace {

using namespace vastorim;

// The kinds of value expressions effect files hold.
const std::array<std::string, 8> kExpressions = {"255",          "rnd(128&255)",        "seed*40",
                                                 "rnd(-20&20)",  "pi*rnd(-1&1)",        "2*pi",
                                                 "rnd(0.5&1.5)", "cos(seed)*rnd(10&20)"};

void compiledTrees(benchmark::State& state) {
    seedRandom(1);
    std::array<const Expression*, kExpressions.size()> compiled{};
    for (std::size_t i = 0; i < kExpressions.size(); ++i) {
        compiled[i] = &compileExpression(kExpressions[i]);
    }
    for (auto _ : state) {
        for (const Expression* expression : compiled) {
            benchmark::DoNotOptimize(expression->evaluate(0.5));
        }
    }
    state.SetItemsProcessed(state.iterations() * static_cast<long>(kExpressions.size()));
}
BENCHMARK(compiledTrees);

void textEachTime(benchmark::State& state) {
    seedRandom(1);
    for (auto _ : state) {
        for (const std::string& text : kExpressions) {
            benchmark::DoNotOptimize(interpretExpression(text, 0.5));
        }
    }
    state.SetItemsProcessed(state.iterations() * static_cast<long>(kExpressions.size()));
}
BENCHMARK(textEachTime);

} // namespace
