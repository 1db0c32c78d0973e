#include "fx_commands.h"

#include "engine/numbers.h"

#include <algorithm>
#include <limits>
#include <stdexcept>

namespace vastorim::fx {

bool takeOption(std::vector<std::string>& args, const std::string& name, std::string& value) {
    auto found = std::find(args.begin(), args.end(), name);
    if (found == args.end()) {
        return false;
    }
    if (found + 1 == args.end()) {
        throw std::invalid_argument(name + " needs a value");
    }
    value = *(found + 1);
    args.erase(found, found + 2);
    return true;
}

std::string requiredOption(std::vector<std::string>& args, const std::string& name) {
    std::string value;
    if (!takeOption(args, name, value)) {
        throw std::invalid_argument(name + " is required");
    }
    return value;
}

std::optional<std::uint64_t> rngOption(std::vector<std::string>& args) {
    std::string text;
    if (!takeOption(args, "--rng", text)) {
        return std::nullopt;
    }
    const auto value = wholeNumber(text, 0, std::numeric_limits<std::int64_t>::max());
    if (!value) {
        throw std::invalid_argument("--rng " + text + " is not a whole number of 0 or more");
    }
    return static_cast<std::uint64_t>(*value);
}

} // namespace vastorim::fx
