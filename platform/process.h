#pragma once

#include <string>
#include <vector>

namespace vastorim::platform {

// Starts `program` with `arguments`, working in `folder`, in a session of its own so that it
// outlives this program; does not wait for it. False, and why in `problem`, when it cannot start
// (a missing file or one that is not a program included).
bool startDetached(const std::string& program, const std::vector<std::string>& arguments,
                   const std::string& folder, std::string& problem);

// Becomes `program` with `arguments`, working in `folder`; returns only when that fails, with why.
std::string becomeProgram(const std::string& program, const std::vector<std::string>& arguments,
                          const std::string& folder);

} // namespace vastorim::platform
