#include "play_driver.h"

#include "engine/errors.h"
#include "engine/renderer.h"
#include "platform/clock.h"
#include "platform/events.h"
#include "sim/frame_trace.h"

namespace vastorim::sim {
namespace {

platform::Event toEvent(const ScriptEvent& event) {
    switch (event.kind) {
    case ScriptEvent::Kind::KeyDown:
        return {platform::Event::Type::KeyDown, event.keyCode};
    case ScriptEvent::Kind::KeyUp:
        return {platform::Event::Type::KeyUp, event.keyCode};
    case ScriptEvent::Kind::Close:
        break;
    }
    return {platform::Event::Type::Close, 0};
}

} // namespace

PlayDriver::PlayDriver(const SimOptions& options) : options_(options) {
    if (!options.inputFile.empty()) {
        script_ = readKeyScript(options.inputFile);
    }
    if (!options.traceFile.empty()) {
        trace_.open(options.traceFile, std::ios::binary | std::ios::trunc);
        if (!trace_) {
            throw DataError(options.traceFile, 0, "", "cannot write the trace file");
        }
    }
}

void PlayDriver::attach(platform::ScriptedEvents& events, platform::Clock& clock) {
    events_ = &events;
    clock_ = &clock;
}

void PlayDriver::afterFrame(long frame) {
    if (trace_.is_open()) {
        trace_ << traceLine(frame, clock_ ? clock_->ticks() : 0, drawCallsLastFrame()) << '\n';
    }
    if (events_ == nullptr) {
        return;
    }
    for (; nextScripted_ < script_.size() && script_[nextScripted_].frame <= frame;
         ++nextScripted_) {
        events_->push(toEvent(script_[nextScripted_]));
    }
    if (options_.demo) {
        for (const ScriptEvent& event : pilot_.decide(frame)) {
            events_->push(toEvent(event));
        }
    }
}

} // namespace vastorim::sim
