#include "engine/run_inputs.h"

#include "engine/build_id.h"
#include "engine/content_hash.h"
#include "engine/game_setup.h"
#include "engine/platform_access.h"
#include "engine/random.h"
#include "engine/startup.h"
#include "platform/audio.h"
#include "platform/clock.h"
#include "platform/download.h"
#include "platform/platform.h"

namespace vastorim {
namespace {

struct RunInputs {
    std::optional<Replay> replay; // the next run's, then the running one's
    bool active = false;
    bool replaying = false;
    bool inFrame = false;
    bool seedWasPinned = false;
    std::int32_t tick = 0;
    ReplayIdentity identity;
    ReplayStart start;
    ReplayFrames frames;
    ReplayFrame frame;
    std::size_t nextReplayed = 0;
    long framesBegun = 0;
};

RunInputs inputs;

std::int32_t platformTick() {
    platform::Platform* running = currentPlatform();
    return running != nullptr && running->clock
               ? static_cast<std::int32_t>(static_cast<std::uint32_t>(running->clock->ticks()))
               : 0;
}

void handOver(const ReplayEvent& event) {
    switch (event.kind) {
    case ReplayEvent::Kind::KeyDown:
        if (hooks.keyDown) {
            hooks.keyDown(event.keyCode);
        }
        break;
    case ReplayEvent::Kind::KeyUp:
        if (hooks.keyUp) {
            hooks.keyUp(event.keyCode);
        }
        break;
    case ReplayEvent::Kind::FocusLost:
        callHook(hooks.focusLost);
        break;
    }
}

void record(const ReplayEvent& event) {
    if (inputs.active && !inputs.replaying) {
        inputs.frame.events.push_back(event);
    }
    handOver(event);
}

} // namespace

void replayNextRun(Replay replay) {
    inputs.replay = std::move(replay);
}

void beginRunInputs() {
    std::optional<Replay> replay = std::move(inputs.replay);
    inputs = RunInputs{};
    inputs.active = true;
    inputs.seedWasPinned = randomSeedPinned();
    if (replay) {
        inputs.replaying = true;
        inputs.identity = replay->identity;
        inputs.start = replay->start;
        inputs.replay = std::move(replay);
        seedRandom(inputs.start.seed);
        useSetupText(inputs.start.setup);
        platform::allowNetwork(false);
    } else {
        inputs.start.seed = randomSeed();
        inputs.start.startTick = platformTick();
    }
    pinRandomSeed(true);
    inputs.tick = inputs.start.startTick;
}

std::int32_t beginLoopInputs() {
    if (inputs.replaying) {
        onlineEnabled = inputs.start.online;
        globals.gameRunning = globals.gameRunning && !inputs.replay->frames.empty();
    } else {
        inputs.start.loopTick = platformTick();
        inputs.start.online = onlineEnabled;
        inputs.start.setup = setupFileText();
    }
    inputs.tick = inputs.start.loopTick;
    return inputs.tick;
}

std::int32_t beginFrameInputs() {
    ++inputs.framesBegun;
    inputs.inFrame = true;
    if (inputs.replaying) {
        const std::vector<ReplayFrame>& frames = inputs.replay->frames;
        if (inputs.nextReplayed < frames.size()) {
            inputs.frame = frames[inputs.nextReplayed++];
        }
    } else {
        inputs.frame.tick = platformTick();
        inputs.frame.events.clear();
    }
    inputs.tick = inputs.frame.tick;
    return inputs.tick;
}

void endFrameInputs() {
    inputs.inFrame = false;
    if (!inputs.replaying) {
        inputs.frames.add(inputs.frame);
    } else if (inputs.nextReplayed >= inputs.replay->frames.size()) {
        globals.gameRunning = false;
    }
}

void endRunInputs() {
    inputs.replay.reset();
    if (!inputs.active) {
        return;
    }
    if (inputs.replaying) {
        useSetupText(std::nullopt);
        platform::allowNetwork(true);
    }
    pinRandomSeed(inputs.seedWasPinned);
    inputs.active = false;
}

std::optional<std::int32_t> frameTick() {
    return inputs.active ? std::optional(inputs.tick) : std::nullopt;
}

std::uint32_t frameMusicPosition(platform::AudioBuffer& track) {
    if (inputs.active && inputs.replaying) {
        return inputs.frame.musicPosition;
    }
    const std::uint32_t position = track.position();
    inputs.frame.musicPosition = position;
    return position;
}

void handOverKey(bool down, int keyCode) {
    record({down ? ReplayEvent::Kind::KeyDown : ReplayEvent::Kind::KeyUp, keyCode});
}

void handOverFocusLost() {
    record({ReplayEvent::Kind::FocusLost, 0});
}

void handOverReplayedEvents() {
    if (!inputs.active || !inputs.replaying) {
        return;
    }
    for (const ReplayEvent& event : inputs.frame.events) {
        handOver(event);
    }
}

bool replaying() {
    return inputs.active && inputs.replaying;
}

std::string replayUpToNow() {
    if (inputs.replaying) {
        return {};
    }
    // Hashing the content takes a few milliseconds: only a run that keeps a replay pays them.
    if (inputs.identity.build.empty()) {
        inputs.identity = currentReplayIdentity();
    }
    return encodeReplay(inputs.identity, inputs.start, inputs.frames,
                        inputs.inFrame ? &inputs.frame : nullptr);
}

long framesBegun() {
    return inputs.framesBegun;
}

std::size_t recordingBytes() {
    return inputs.frames.memoryBytes();
}

ReplayIdentity currentReplayIdentity() {
    return {buildId(), contentHash()};
}

} // namespace vastorim
