#include "fx_commands.h"

#include "engine/errors.h"
#include "engine/numbers.h"
#include "engine/random.h"
#include "particles/expression.h"

#include <iostream>
#include <stdexcept>

namespace vastorim::fx {

int evalCommand(const std::vector<std::string>& args) {
    std::vector<std::string> rest = args;
    std::string text;
    double seed = 0;
    if (takeOption(rest, "--seed", text)) {
        auto value = textToNumber(text);
        if (!value) {
            throw std::invalid_argument("--seed " + text + " is not a number");
        }
        seed = *value;
    }
    if (const std::optional<std::uint64_t> rng = rngOption(rest)) {
        seedRandom(*rng);
    } else {
        seedRandomFromClock();
    }
    if (rest.empty()) {
        throw std::invalid_argument("no expression given");
    }
    int status = 0;
    for (std::string expression : rest) {
        try {
            std::cout << numberToText(evaluateExpression(expression, seed)) << '\n';
        } catch (const FieldError& error) {
            std::cout.flush();
            std::cerr << "error: " << error.message() << '\n';
            status = 1;
        }
    }
    return status;
}

} // namespace vastorim::fx
