#pragma once

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace vastorim {

// A replay file: everything a run of the game read from outside itself, so that the same build
// on the same content plays the run again exactly. The server keeps these files and plays them
// with vastorim-sim, so both sides read them through this module.
//
// Layout: "VSTRMRPL", the format version (2 bytes, little-endian), the build (1 byte of length,
// then its text), the content hash (32 bytes), then one zlib stream holding the start (seed,
// online switch, setup file text, the two clock readings before the first frame) and the frames.
// Each frame is the clock's tick and the music position as differences from the frame before,
// then its key events; every number is a LEB128 varint, signed ones zigzag-coded.

inline constexpr std::uint16_t replayFormatVersion = 1;

// Which program and which content a replay belongs to; a replay plays only where both match.
struct ReplayIdentity {
    std::string build;
    std::string contentHash; // SHA-256, 64 lower-case hex digits

    bool operator==(const ReplayIdentity&) const = default;
};

// What the run began with.
struct ReplayStart {
    std::uint64_t seed = 0;
    bool online = false;
    std::string setup;          // the setup file's text as the run read it
    std::int32_t startTick = 0; // the clock as start-up began
    std::int32_t loopTick = 0;  // the clock as the first frame began
    bool operator==(const ReplayStart&) const = default;
};

// A key handed to the game, or the window's loss of focus.
struct ReplayEvent {
    enum class Kind : std::uint8_t { KeyDown, KeyUp, FocusLost };
    Kind kind = Kind::KeyDown;
    int keyCode = 0;
    bool operator==(const ReplayEvent&) const = default;
};

// One frame's readings: the clock, the music position, and the events handled at its end.
struct ReplayFrame {
    std::int32_t tick = 0;
    std::uint32_t musicPosition = 0;
    std::vector<ReplayEvent> events;
    bool operator==(const ReplayFrame&) const = default;
};

// Frames encoded and compressed as they come: a long run keeps well under a byte a frame, and a
// replay of it is made without compressing the whole run again.
class ReplayFrames {
  public:
    ReplayFrames();
    ~ReplayFrames();
    ReplayFrames(ReplayFrames&&) noexcept;
    ReplayFrames& operator=(ReplayFrames&&) noexcept;

    void add(const ReplayFrame& frame);
    std::size_t count() const { return count_; }
    // The memory the frames hold, the compressor's own state aside.
    std::size_t memoryBytes() const { return compressed_.capacity() + pending_.capacity(); }

  private:
    friend std::string encodeReplay(const ReplayIdentity&, const ReplayStart&, const ReplayFrames&,
                                    const ReplayFrame*);
    struct Compressor;

    void compressPending();

    std::unique_ptr<Compressor> compressor_;
    std::string compressed_; // the frames fed so far, as raw deflate blocks
    std::string pending_;    // encoded frames not yet fed
    std::uint32_t checksum_; // zlib's Adler-32 of the frames fed
    std::size_t count_ = 0;
    std::int32_t lastTick_ = 0;
    std::uint32_t lastMusicPosition_ = 0;
};

// The replay file of these frames; `lastFrame` (may be null) is appended after them. The frames
// go on recording afterwards.
std::string encodeReplay(const ReplayIdentity& identity, const ReplayStart& start,
                         const ReplayFrames& frames, const ReplayFrame* lastFrame = nullptr);

struct Replay {
    ReplayIdentity identity;
    ReplayStart start;
    std::vector<ReplayFrame> frames;
};

// Why a replay is refused; what() is one line.
class ReplayError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// The whole replay, read before any of it is played. A file of another format version, build or
// content, and a truncated or corrupt body, are ReplayErrors.
Replay decodeReplay(std::string_view file, const ReplayIdentity& expected);

} // namespace vastorim
