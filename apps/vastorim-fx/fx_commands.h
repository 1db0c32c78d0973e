#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vastorim::fx {

// Each command takes the words after its name and gives the process exit status.
int checkCommand(const std::vector<std::string>& args);
int evalCommand(const std::vector<std::string>& args);
int showCommand(const std::vector<std::string>& args);
int renderCommand(const std::vector<std::string>& args);
int previewCommand(const std::vector<std::string>& args);
int galleryCommand(const std::vector<std::string>& args);

// Pulls "--name VALUE" out of args; false when it is not there. Throws std::invalid_argument
// when the name is the last word.
bool takeOption(std::vector<std::string>& args, const std::string& name, std::string& value);
// The same for an option the command cannot do without: std::invalid_argument when it is missing.
std::string requiredOption(std::vector<std::string>& args, const std::string& name);
// The generator seed of "--rng N", a whole number of 0 or more; nothing when it is not given.
// Throws std::invalid_argument for anything else.
std::optional<std::uint64_t> rngOption(std::vector<std::string>& args);

} // namespace vastorim::fx
