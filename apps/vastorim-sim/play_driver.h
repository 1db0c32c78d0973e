#pragma once

#include "sim_options.h"

#include "sim/demo_pilot.h"
#include "sim/key_script.h"

#include "platform/replaced_files.h"

#include <cstddef>
#include <memory>
#include <optional>
#include <vector>

namespace vastorim::platform {
class ScriptedEvents;
class Clock;
} // namespace vastorim::platform

namespace vastorim::sim {

// The playing side of a headless run: the scripted keys, the demo pilot, the trace and the
// switch that leaves drawing out.
class PlayDriver {
  public:
    // Reads the input script (a DataError names a malformed line) and starts the trace file
    // beside its place (a DataError when it cannot be written).
    explicit PlayDriver(const SimOptions& options);

    // Runs once the platform exists: events go to `events`, the trace reads `clock`. The pads
    // the script names are connected before the first frame's events.
    void attach(platform::ScriptedEvents& events, platform::Clock& clock);

    // After frame `frame` has been updated and drawn: its trace line, then its key events, which
    // the loop handles before the next frame.
    void afterFrame(long frame);

    // Puts the trace of the frames run in place of the old one; a DataError when it cannot.
    void finish();

  private:
    const SimOptions& options_;
    std::vector<ScriptEvent> script_;
    std::size_t nextScripted_ = 0;
    DemoPilot pilot_;
    std::optional<platform::ReplacementFile> trace_;
    platform::ScriptedEvents* events_ = nullptr;
    platform::Clock* clock_ = nullptr;
};

} // namespace vastorim::sim
