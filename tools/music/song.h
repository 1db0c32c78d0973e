#pragma once

#include <cstdint>
#include <vector>

namespace vastorim::music {

// Renders the whole track (lead-in, loop and tail) as 16-bit samples at kSampleRate.
std::vector<std::int16_t> renderSong();

} // namespace vastorim::music
