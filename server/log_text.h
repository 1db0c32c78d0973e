#pragma once

#include <string>

namespace vastorim::server {

// Text from a request or a child process as the log shows it: control characters become "?",
// so that nothing can write a line of its own into the log; empty text is "-".
std::string printable(std::string text);

} // namespace vastorim::server
