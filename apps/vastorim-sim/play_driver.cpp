#include "play_driver.h"

#include "engine/errors.h"
#include "engine/renderer.h"
#include "platform/clock.h"
#include "platform/events.h"
#include "sim/frame_trace.h"

namespace vastorim::sim {
namespace {

platform::Event toEvent(const ScriptEvent& event) {
    using Type = platform::Event::Type;
    switch (event.kind) {
    case ScriptEvent::Kind::KeyDown:
        return {Type::KeyDown, event.keyCode};
    case ScriptEvent::Kind::KeyUp:
        return {Type::KeyUp, event.keyCode};
    case ScriptEvent::Kind::FocusLost:
        return {Type::FocusLost, 0};
    case ScriptEvent::Kind::Pad:
        return {.type = Type::PadChanged,
                .pad = event.pad,
                .control = event.control,
                .value = event.value};
    case ScriptEvent::Kind::Close:
        break;
    }
    return {Type::Close, 0};
}

} // namespace

PlayDriver::PlayDriver(const SimOptions& options) : options_(options) {
    if (!options.inputFile.empty()) {
        script_ = readKeyScript(options.inputFile);
    }
    if (!options.traceFile.empty()) {
        trace_.emplace(options.traceFile);
        if (!trace_->good()) {
            throw DataError(options.traceFile, 0, "",
                            "cannot write the trace file: " + trace_->problem());
        }
    }
}

void PlayDriver::attach(platform::ScriptedEvents& events, platform::Clock& clock) {
    events_ = &events;
    clock_ = &clock;
    // The pads the script names are there from the start, connected in the order of their
    // numbers, so pad N is the N-th pad connected.
    for (int pad = 1; pad <= padsNamed(script_); ++pad) {
        events.push({.type = platform::Event::Type::PadAdded, .pad = pad});
    }
}

void PlayDriver::afterFrame(long frame) {
    if (trace_) {
        trace_->write(traceLine(frame, clock_ ? clock_->ticks() : 0, drawCallsLastFrame()) + '\n');
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

void PlayDriver::finish() {
    if (trace_ && !trace_->commit(platform::Flush::no)) {
        throw DataError(options_.traceFile, 0, "",
                        "cannot write the trace file: " + trace_->problem());
    }
}

} // namespace vastorim::sim
