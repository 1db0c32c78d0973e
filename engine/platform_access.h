#pragma once

#include <cstdint>

namespace vastorim {

namespace platform {
struct Platform;
}

// The platform the running program uses; null outside Main (tests may set one).
platform::Platform* currentPlatform();
void setCurrentPlatform(platform::Platform* platform);

// Milliseconds of the platform clock (the system tick counter of the game), 0 without a platform.
// While a run goes on, the reading of its current frame, so that one frame sees one time.
std::int32_t currentTick();

} // namespace vastorim
