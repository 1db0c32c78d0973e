#pragma once

#include <cstdint>
#include <mutex>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace vastorim::server {

// A database that cannot be opened, read or written; what() names the file and the reason.
class StoreError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// What replaying an entry's game showed: unverified until a replay has been played (or when
// there is none), then verified or rejected for good.
enum class ReplayState { unverified, verified, rejected };

const char* stateName(ReplayState state);

struct ScoreEntry {
    std::int64_t id = 0;
    std::string name;
    std::int64_t hundredths = 0;
    ReplayState state = ReplayState::unverified;
    bool hasReplay = false;
    bool hasPicture = false;
};

// Every submitted score and the replays uploaded for them, in one SQLite database file
// (write-ahead log, so readers never wait for a writer). One connection, prepared statements and
// parameters only; calls from several threads take turns.
class ScoreStore {
  public:
    // Opens or creates the file and its tables.
    explicit ScoreStore(const std::string& path);
    ~ScoreStore();
    ScoreStore(const ScoreStore&) = delete;
    ScoreStore& operator=(const ScoreStore&) = delete;

    void add(std::string_view name, std::int32_t hundredths);
    // The best `count` entries: longest time first, ties in the order they were submitted;
    // verified entries only when asked.
    std::vector<ScoreEntry> best(int count, bool verifiedOnly = false);
    std::int64_t size();

    // Stores the replay with the latest entry of this name and score that has none yet; the
    // entry's id, or nothing when no entry waits for it.
    std::optional<std::int64_t> attachReplay(std::string_view name, std::int32_t hundredths,
                                             std::string_view replay);
    // The entry with its replay's bytes; nothing when it has no replay.
    std::optional<std::pair<ScoreEntry, std::string>> replay(std::int64_t id);
    std::optional<std::string> picture(std::int64_t id);
    // The verdict on an entry's replay, with the picture of the run's last moment (may be empty).
    void judge(std::int64_t id, ReplayState state, std::string_view picture);
    // Entries whose replay has not been played yet, oldest first.
    std::vector<std::int64_t> unplayedReplays();

  private:
    // One prepared statement, reset and unbound whatever happens while it runs.
    class Statement;

    void execute(const char* sql);
    void close();
    [[noreturn]] void fail(const std::string& doing) const;
    void bindText(sqlite3_stmt* statement, int index, std::string_view text,
                  const char* doing) const;
    // Runs a statement that takes an entry's id: true on its row, false when there is none.
    bool stepById(sqlite3_stmt* statement, std::int64_t id, const char* doing) const;

    std::string path_;
    std::mutex mutex_;
    sqlite3* database_ = nullptr;
    sqlite3_stmt* insert_ = nullptr;
    sqlite3_stmt* selectBest_ = nullptr;
    sqlite3_stmt* selectBestVerified_ = nullptr;
    sqlite3_stmt* countAll_ = nullptr;
    sqlite3_stmt* attachReplay_ = nullptr;
    sqlite3_stmt* selectReplay_ = nullptr;
    sqlite3_stmt* selectPicture_ = nullptr;
    sqlite3_stmt* judge_ = nullptr;
    sqlite3_stmt* selectUnplayed_ = nullptr;
};

} // namespace vastorim::server
