#pragma once

#include "support/test_support.h"

#include <string>
#include <vector>

namespace vastorim::testing {

using test::readFile;
using test::TempFolder;
using test::writeFile;

// The shell command running vastorim-sim on a program folder (the build's by default).
std::string simCommand(const std::vector<std::string>& arguments,
                       const std::string& data = VASTORIM_PROGRAM_DIR);

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

struct SimRun {
    test::CommandResult result;
    std::vector<TraceFrame> trace;
};

// Plays the build's game with the key script (none when empty), tracing every frame into
// `folder`, which also receives any screenshots.
SimRun play(const TempFolder& folder, const std::string& keys, std::vector<std::string> arguments);

} // namespace vastorim::testing
