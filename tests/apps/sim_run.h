#pragma once

#include "support/test_support.h"

#include <string>
#include <vector>

namespace vastorim::testing {

using test::readFile;
using test::TempFolder;
using test::writeFile;

struct SimResult {
    int status = -1;
    std::string output; // stdout and stderr together
};

// Runs build/bin/vastorim-sim on the build's program folder with the given extra arguments.
SimResult runSim(const std::vector<std::string>& arguments);

// One trace line's fields, read from the flat JSON the sim writes. For the ship fields, the
// first ship's value is given.
class TraceFrame {
  public:
    explicit TraceFrame(std::string line) : line_(std::move(line)) {}
    double number(const std::string& field) const;
    bool flag(const std::string& field) const;
    std::string text(const std::string& field) const;

  private:
    std::string valueText(const std::string& field) const;
    std::string line_;
};

std::vector<TraceFrame> readTrace(const std::string& path);

} // namespace vastorim::testing
