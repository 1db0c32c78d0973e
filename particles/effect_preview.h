#pragma once

#include <cstdint>
#include <functional>
#include <iosfwd>
#include <string>
#include <vector>

namespace vastorim {

namespace platform {
struct Event;
struct Platform;
} // namespace platform

// Which version of a file is on disk: it changes whenever the file is written, replaced or
// removed.
struct FileStamp {
    bool exists = false;
    std::int64_t modified = 0; // file clock ticks
    std::uintmax_t size = 0;

    bool operator==(const FileStamp&) const = default;
};

FileStamp fileStampOf(const std::string& path);

// One effect file on screen for the people who write it: spawned at the centre at the start and
// on space, at the pointer on a click, loaded again whenever its stamp changes. A file that does
// not load leaves the previous version on screen and its error shown over it until a good version
// arrives. Drives the global emitter and the engine's frame drawing.
class EffectPreview {
  public:
    using StampSource = std::function<FileStamp()>;
    // The stamp is looked at no more often than this, in platform clock milliseconds.
    static constexpr std::int64_t kCheckIntervalMs = 250;

    // Errors also go to errorLog as one line each.
    EffectPreview(std::string path, StampSource stamp, std::ostream& errorLog);
    ~EffectPreview();
    EffectPreview(const EffectPreview&) = delete;
    EffectPreview& operator=(const EffectPreview&) = delete;

    // Loads the file and spawns the effect at the centre; a file that does not load is shown as
    // an error.
    void start(std::int64_t nowMs);

    // One frame on the running platform: its pending events, the file check, the particles'
    // step and the drawing. False once Escape or a close request ends the preview.
    bool runFrame(platform::Platform& platform);

    // The error on screen, empty when the last load succeeded.
    const std::string& error() const { return error_; }

  private:
    bool handle(const platform::Event& event);
    void checkFile(std::int64_t nowMs);
    void load();
    void spawn(double x, double y);
    void draw() const;

    std::string path_;
    StampSource stamp_;
    std::ostream& errorLog_;
    FileStamp seen_;
    std::int64_t lastCheck_ = 0;
    std::int64_t lastFrame_ = 0;
    bool loaded_ = false;
    std::string error_;
    std::vector<platform::Event> events_;
};

} // namespace vastorim
