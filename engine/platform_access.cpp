#include "engine/platform_access.h"

#include "engine/run_inputs.h"
#include "platform/clock.h"
#include "platform/platform.h"

namespace vastorim {

namespace {

platform::Platform* active = nullptr;

} // namespace

platform::Platform* currentPlatform() {
    return active;
}

void setCurrentPlatform(platform::Platform* platform) {
    active = platform;
}

std::int32_t currentTick() {
    if (const std::optional<std::int32_t> tick = frameTick()) {
        return *tick;
    }
    if (active == nullptr || !active->clock) {
        return 0;
    }
    // The tick counter is 32 bits wide and wraps, as the system's does.
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(active->clock->ticks()));
}

} // namespace vastorim
