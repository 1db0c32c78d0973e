#include "fx_commands.h"

#include <algorithm>
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

} // namespace vastorim::fx
