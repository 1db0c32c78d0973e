#pragma once

#include <cstdint>
#include <string>

namespace vastorim {

// One frame of a headless run as a JSON object on one line: the program state, the clock, the
// beat flags, every ship, the table occupancy and the name entry. `tick` is the platform clock's
// reading for the frame; `drawCalls` the geometry calls of the frame's drawing.
std::string traceLine(std::int64_t frame, std::int64_t tick, int drawCalls);

} // namespace vastorim
