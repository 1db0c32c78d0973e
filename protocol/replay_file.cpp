#include "protocol/replay_file.h"

#include <zlib.h>

#include <array>

namespace vastorim {
namespace {

constexpr std::string_view magic = "VSTRMRPL";
constexpr std::size_t hashBytes = 32;
// A body larger than this is not a game anyone played: it is refused before it fills memory.
constexpr std::size_t largestBody = 64u << 20;

void putVarint(std::string& out, std::uint64_t value) {
    while (value >= 0x80) {
        out.push_back(static_cast<char>((value & 0x7F) | 0x80));
        value >>= 7;
    }
    out.push_back(static_cast<char>(value));
}

// Differences of wrapping 32-bit counters, as small signed numbers.
void putDifference(std::string& out, std::uint32_t now, std::uint32_t before) {
    const auto difference = static_cast<std::int32_t>(now - before);
    putVarint(out, (static_cast<std::uint32_t>(difference) << 1) ^
                       static_cast<std::uint32_t>(difference >> 31));
}

void putFrame(std::string& out, const ReplayFrame& frame, std::int32_t tickBefore,
              std::uint32_t musicPositionBefore) {
    putDifference(out, static_cast<std::uint32_t>(frame.tick),
                  static_cast<std::uint32_t>(tickBefore));
    putDifference(out, frame.musicPosition, musicPositionBefore);
    putVarint(out, frame.events.size());
    for (const ReplayEvent& event : frame.events) {
        out.push_back(static_cast<char>(event.kind));
        putVarint(out, static_cast<std::uint32_t>(event.keyCode));
    }
}

// Encoded frames reach the compressor in pieces of about this size, some thousand frames: each
// piece costs a fraction of a millisecond, not one long frame now and then.
constexpr std::size_t pendingLimit = 1 << 12;

// Feeds bytes to a compressor and appends what comes out: with Z_NO_FLUSH as much as it has
// ready, with Z_SYNC_FLUSH everything, ending on a byte boundary.
void deflateInto(z_stream& z, std::string_view bytes, int flush, std::string& out) {
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes.data()));
    z.avail_in = static_cast<uInt>(bytes.size());
    std::array<char, 16384> chunk;
    do {
        z.next_out = reinterpret_cast<Bytef*>(chunk.data());
        z.avail_out = static_cast<uInt>(chunk.size());
        if (deflate(&z, flush) == Z_STREAM_ERROR) {
            throw ReplayError("the replay could not be compressed");
        }
        out.append(chunk.data(), chunk.size() - z.avail_out);
    } while (z.avail_out == 0);
}

// Reads the body; any read past its end or out of range is a corrupt body.
class BodyReader {
  public:
    explicit BodyReader(std::string_view bytes) : bytes_(bytes) {}

    std::uint64_t varint() {
        std::uint64_t value = 0;
        for (int shift = 0; shift < 64; shift += 7) {
            const auto byte = static_cast<std::uint8_t>(take(1)[0]);
            value |= static_cast<std::uint64_t>(byte & 0x7F) << shift;
            if ((byte & 0x80) == 0) {
                return value;
            }
        }
        throw ReplayError("corrupt body: a number runs on");
    }
    std::uint32_t small(std::uint64_t limit, const char* what) {
        const std::uint64_t value = varint();
        if (value > limit) {
            throw ReplayError(std::string("corrupt body: ") + what + " out of range");
        }
        return static_cast<std::uint32_t>(value);
    }
    std::uint32_t afterDifference(std::uint32_t before) {
        const std::uint32_t coded = small(0xFFFFFFFFu, "a difference");
        const std::uint32_t difference = (coded >> 1) ^ (0u - (coded & 1u));
        return before + difference;
    }
    std::string_view take(std::size_t count) {
        if (count > bytes_.size() - at_) {
            throw ReplayError("truncated body");
        }
        const std::string_view part = bytes_.substr(at_, count);
        at_ += count;
        return part;
    }
    bool done() const { return at_ == bytes_.size(); }

  private:
    std::string_view bytes_;
    std::size_t at_ = 0;
};

std::string hexOf(std::string_view bytes) {
    static constexpr char digits[] = "0123456789abcdef";
    std::string hex;
    for (const char c : bytes) {
        const auto byte = static_cast<std::uint8_t>(c);
        hex += {digits[byte >> 4], digits[byte & 0xF]};
    }
    return hex;
}

std::string bytesOfHex(const std::string& hex) {
    std::string bytes(hashBytes, '\0');
    for (std::size_t i = 0; i < hashBytes && 2 * i + 1 < hex.size(); ++i) {
        bytes[i] = static_cast<char>(std::stoi(hex.substr(2 * i, 2), nullptr, 16));
    }
    return bytes;
}

// The whole zlib stream, which must end exactly where the file does.
std::string inflated(std::string_view stream) {
    z_stream z{};
    if (inflateInit(&z) != Z_OK) {
        throw ReplayError("the replay could not be read: no memory");
    }
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(stream.data()));
    z.avail_in = static_cast<uInt>(stream.size());
    std::string body;
    std::array<char, 65536> chunk;
    int status = Z_OK;
    while (status == Z_OK && body.size() <= largestBody) {
        z.next_out = reinterpret_cast<Bytef*>(chunk.data());
        z.avail_out = static_cast<uInt>(chunk.size());
        status = inflate(&z, Z_NO_FLUSH);
        body.append(chunk.data(), chunk.size() - z.avail_out);
    }
    const bool whole = status == Z_STREAM_END && z.avail_in == 0;
    inflateEnd(&z);
    if (body.size() > largestBody) {
        throw ReplayError("corrupt body: larger than any game");
    }
    if (!whole) {
        throw ReplayError(status == Z_BUF_ERROR ? "truncated body" : "corrupt body");
    }
    return body;
}

// The header, which must be whole: a file cut inside it is no replay.
ReplayIdentity readIdentity(std::string_view file) {
    const auto byteAt = [&](std::size_t at) { return static_cast<std::uint8_t>(file[at]); };
    const std::size_t buildAt = magic.size() + 3;
    if (file.size() < buildAt || !file.starts_with(magic)) {
        throw ReplayError("not a replay file");
    }
    const auto version = static_cast<std::uint16_t>(byteAt(8) | byteAt(9) << 8);
    if (version != replayFormatVersion) {
        throw ReplayError("replay format version " + std::to_string(version) +
                          ", this build reads version " + std::to_string(replayFormatVersion));
    }
    const std::size_t buildSize = byteAt(buildAt - 1);
    if (file.size() < buildAt + buildSize + hashBytes) {
        throw ReplayError("not a replay file");
    }
    return {std::string(file.substr(buildAt, buildSize)),
            hexOf(file.substr(buildAt + buildSize, hashBytes))};
}

} // namespace

// Raw deflate, without zlib's header and checksum: the file's one zlib stream is put together
// from the start's blocks and the frames' blocks, each part ended on a byte boundary.
struct ReplayFrames::Compressor {
    z_stream z{};

    Compressor() {
        if (deflateInit2(&z, Z_DEFAULT_COMPRESSION, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY) !=
            Z_OK) {
            throw ReplayError("the replay could not be compressed: no memory");
        }
    }
    // A copy finishes a replay while the original goes on with the run.
    Compressor(const Compressor& original) {
        if (deflateCopy(&z, const_cast<z_stream*>(&original.z)) != Z_OK) {
            throw ReplayError("the replay could not be compressed: no memory");
        }
    }
    Compressor& operator=(const Compressor&) = delete;
    ~Compressor() { deflateEnd(&z); }
};

ReplayFrames::ReplayFrames()
    : compressor_(std::make_unique<Compressor>()), checksum_(adler32(0, nullptr, 0)) {}
ReplayFrames::~ReplayFrames() = default;
ReplayFrames::ReplayFrames(ReplayFrames&&) noexcept = default;
ReplayFrames& ReplayFrames::operator=(ReplayFrames&&) noexcept = default;

void ReplayFrames::add(const ReplayFrame& frame) {
    putFrame(pending_, frame, lastTick_, lastMusicPosition_);
    lastTick_ = frame.tick;
    lastMusicPosition_ = frame.musicPosition;
    ++count_;
    if (pending_.size() >= pendingLimit) {
        compressPending();
    }
}

void ReplayFrames::compressPending() {
    checksum_ = adler32(checksum_, reinterpret_cast<const Bytef*>(pending_.data()),
                        static_cast<uInt>(pending_.size()));
    deflateInto(compressor_->z, pending_, Z_NO_FLUSH, compressed_);
    pending_.clear();
}

std::string encodeReplay(const ReplayIdentity& identity, const ReplayStart& start,
                         const ReplayFrames& frames, const ReplayFrame* lastFrame) {
    std::string body;
    putVarint(body, start.seed);
    body.push_back(start.online ? 1 : 0);
    putVarint(body, start.setup.size());
    body += start.setup;
    putDifference(body, static_cast<std::uint32_t>(start.startTick), 0);
    putDifference(body, static_cast<std::uint32_t>(start.loopTick),
                  static_cast<std::uint32_t>(start.startTick));
    putVarint(body, frames.count() + (lastFrame != nullptr ? 1 : 0));
    std::string tail = frames.pending_;
    if (lastFrame != nullptr) {
        putFrame(tail, *lastFrame, frames.lastTick_, frames.lastMusicPosition_);
    }

    std::string file(magic);
    file += {static_cast<char>(replayFormatVersion & 0xFF),
             static_cast<char>(replayFormatVersion >> 8)};
    const std::string build = identity.build.substr(0, 255);
    file.push_back(static_cast<char>(build.size()));
    file += build;
    file += bytesOfHex(identity.contentHash);

    file += {'\x78', '\x9C'}; // zlib's header: deflate, 32 KB window, default compression
    ReplayFrames::Compressor startPart;
    deflateInto(startPart.z, body, Z_SYNC_FLUSH, file);
    file += frames.compressed_;
    ReplayFrames::Compressor framesPart(*frames.compressor_);
    deflateInto(framesPart.z, tail, Z_SYNC_FLUSH, file);
    file += {'\x03', '\x00'}; // an empty last block
    const uLong framesChecksum =
        adler32(frames.checksum_, reinterpret_cast<const Bytef*>(tail.data()),
                static_cast<uInt>(tail.size()));
    const uLong checksum =
        adler32_combine(adler32(adler32(0, nullptr, 0), reinterpret_cast<const Bytef*>(body.data()),
                                static_cast<uInt>(body.size())),
                        framesChecksum, static_cast<z_off_t>(framesPart.z.total_in));
    for (int shift = 24; shift >= 0; shift -= 8) {
        file.push_back(static_cast<char>((checksum >> shift) & 0xFF));
    }
    return file;
}

Replay decodeReplay(std::string_view file, const ReplayIdentity& expected) {
    Replay replay;
    replay.identity = readIdentity(file);
    if (replay.identity.build != expected.build) {
        throw ReplayError("recorded by build " + replay.identity.build + ", this is build " +
                          expected.build);
    }
    if (replay.identity.contentHash != expected.contentHash) {
        throw ReplayError("recorded on other content (hash " + replay.identity.contentHash +
                          ", this content " + expected.contentHash + ")");
    }
    const std::size_t headerSize = magic.size() + 2 + 1 + replay.identity.build.size() + hashBytes;
    const std::string body = inflated(file.substr(headerSize));
    BodyReader reader(body);
    ReplayStart& start = replay.start;
    start.seed = reader.varint();
    start.online = reader.small(1, "the online switch") == 1;
    start.setup = reader.take(reader.small(largestBody, "the setup's length"));
    start.startTick = static_cast<std::int32_t>(reader.afterDifference(0));
    start.loopTick = static_cast<std::int32_t>(
        reader.afterDifference(static_cast<std::uint32_t>(start.startTick)));
    const std::uint32_t count = reader.small(body.size(), "the frame count");
    replay.frames.resize(count);
    ReplayFrame before;
    for (ReplayFrame& frame : replay.frames) {
        frame.tick = static_cast<std::int32_t>(
            reader.afterDifference(static_cast<std::uint32_t>(before.tick)));
        frame.musicPosition = reader.afterDifference(before.musicPosition);
        frame.events.resize(reader.small(body.size(), "an event count"));
        for (ReplayEvent& event : frame.events) {
            event.kind = static_cast<ReplayEvent::Kind>(reader.small(2, "an event's kind"));
            event.keyCode = static_cast<int>(reader.small(0xFFFF, "a key code"));
        }
        before = frame;
    }
    if (!reader.done()) {
        throw ReplayError("corrupt body: bytes after the last frame");
    }
    return replay;
}

} // namespace vastorim
