#include "platform/events.h"

namespace vastorim::platform {

void ScriptedEvents::poll(std::vector<Event>& events) {
    events.insert(events.end(), queued_.begin(), queued_.end());
    queued_.clear();
}

} // namespace vastorim::platform
