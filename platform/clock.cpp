#include "platform/clock.h"

#include <SDL.h>

namespace vastorim::platform {

namespace {

class RealClock final : public Clock {
  public:
    std::int64_t ticks() override { return static_cast<std::int64_t>(SDL_GetTicks64()); }
    void frameEnded() override {}
};

} // namespace

std::unique_ptr<Clock> createRealClock() {
    return std::make_unique<RealClock>();
}

} // namespace vastorim::platform
