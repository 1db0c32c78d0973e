#pragma once

#include "engine/errors.h"

#include <ostream>
#include <string>

namespace vastorim::test {

// Where a failing load says its fault is; the file is "(no error)" when it loads.
struct ErrorPlace {
    std::string file = "(no error)";
    int line = 0;
    std::string field;
    bool operator==(const ErrorPlace&) const = default;
    friend std::ostream& operator<<(std::ostream& out, const ErrorPlace& place) {
        return out << place.file << ":" << place.line << ": " << place.field;
    }
};

template <typename Load> ErrorPlace errorOf(Load load) {
    try {
        load();
    } catch (const DataError& error) {
        return {error.file(), error.line(), error.field()};
    }
    return {};
}

} // namespace vastorim::test
