// Expression texts: compiled and evaluated, and read directly by the plain interpreter, which
// must agree with the compiled form (both, or neither, throw).
#include "particles/expression.h"
#include "engine/errors.h"
#include "engine/random.h"
#include "fuzz/fuzz_support.h"

#include <cmath>
#include <cstdlib>

using namespace vastorim;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text = fuzzing::asText(data, size);
    constexpr double seed = 0.25;
    pinRandomSeed(true);
    double compiled = 0;
    bool compiles = true;
    try {
        seedRandom(7);
        compiled = Expression(text).evaluate(seed);
    } catch (const FieldError&) {
        compiles = false;
    }
    bool interprets = true;
    double interpreted = 0;
    try {
        seedRandom(7);
        interpreted = interpretExpression(text, seed);
    } catch (const FieldError&) {
        interprets = false;
    }
    const bool sameValue =
        compiled == interpreted || (std::isnan(compiled) && std::isnan(interpreted));
    if (compiles != interprets || (compiles && !sameValue)) {
        std::abort();
    }
    return 0;
}
