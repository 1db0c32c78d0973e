#pragma once

#include <cstdint>
#include <mutex>
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

struct ScoreEntry {
    std::string name;
    std::int64_t hundredths = 0;
};

// Every submitted score, in one SQLite database file (write-ahead log, so readers never wait for
// a writer). One connection, prepared statements and parameters only; calls from several threads
// take turns.
class ScoreStore {
  public:
    // Opens or creates the file and its table.
    explicit ScoreStore(const std::string& path);
    ~ScoreStore();
    ScoreStore(const ScoreStore&) = delete;
    ScoreStore& operator=(const ScoreStore&) = delete;

    void add(std::string_view name, std::int32_t hundredths);
    // The best `count` entries: longest time first, ties in the order they were submitted.
    std::vector<ScoreEntry> best(int count);
    std::int64_t size();

  private:
    // One prepared statement, reset and unbound whatever happens while it runs.
    class Statement;

    void execute(const char* sql);
    void close();
    [[noreturn]] void fail(const std::string& doing) const;

    std::string path_;
    std::mutex mutex_;
    sqlite3* database_ = nullptr;
    sqlite3_stmt* insert_ = nullptr;
    sqlite3_stmt* selectBest_ = nullptr;
    sqlite3_stmt* countAll_ = nullptr;
};

} // namespace vastorim::server
