#include "server/score_store.h"

#include <sqlite3.h>

namespace vastorim::server {

class ScoreStore::Statement {
  public:
    explicit Statement(sqlite3_stmt* statement) : statement_(statement) {}
    ~Statement() {
        sqlite3_reset(statement_);
        sqlite3_clear_bindings(statement_);
    }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;
    sqlite3_stmt* operator*() const { return statement_; }

  private:
    sqlite3_stmt* statement_;
};

namespace {

// `id` keeps the order of submission, which breaks ties; AUTOINCREMENT never reuses one.
constexpr const char* kSchema = R"sql(
CREATE TABLE IF NOT EXISTS scores (
    id INTEGER PRIMARY KEY AUTOINCREMENT,
    name TEXT NOT NULL,
    hundredths INTEGER NOT NULL,
    submitted INTEGER NOT NULL DEFAULT (CAST(strftime('%s', 'now') AS INTEGER))
);
CREATE INDEX IF NOT EXISTS scores_by_rank ON scores (hundredths DESC, id);
)sql";

std::string columnText(sqlite3_stmt* statement, int column) {
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, column));
    return text == nullptr
               ? std::string()
               : std::string(text,
                             static_cast<std::size_t>(sqlite3_column_bytes(statement, column)));
}

} // namespace

ScoreStore::ScoreStore(const std::string& path) : path_(path) {
    try {
        if (sqlite3_open_v2(path.c_str(), &database_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE,
                            nullptr) != SQLITE_OK) {
            fail("open");
        }
        // A writer that holds the file (an operator's sqlite3 shell, say) is waited for a while.
        sqlite3_busy_timeout(database_, 5000);
        // With the write-ahead log, NORMAL syncs at checkpoints only: a power cut may lose the
        // last scores but never corrupts the file.
        execute("PRAGMA journal_mode = WAL; PRAGMA synchronous = NORMAL;");
        execute(kSchema);
        const auto prepare = [&](const char* sql, sqlite3_stmt** statement) {
            if (sqlite3_prepare_v3(database_, sql, -1, SQLITE_PREPARE_PERSISTENT, statement,
                                   nullptr) != SQLITE_OK) {
                fail("prepare a statement for");
            }
        };
        prepare("INSERT INTO scores (name, hundredths) VALUES (?1, ?2)", &insert_);
        prepare("SELECT name, hundredths FROM scores ORDER BY hundredths DESC, id LIMIT ?1",
                &selectBest_);
        prepare("SELECT count(*) FROM scores", &countAll_);
    } catch (...) {
        close();
        throw;
    }
}

ScoreStore::~ScoreStore() {
    close();
}

void ScoreStore::close() {
    for (sqlite3_stmt** statement : {&insert_, &selectBest_, &countAll_}) {
        sqlite3_finalize(*statement);
        *statement = nullptr;
    }
    // The last connection to close folds the write-ahead log back into the database file.
    sqlite3_close(database_);
    database_ = nullptr;
}

void ScoreStore::add(std::string_view name, std::int32_t hundredths) {
    const std::lock_guard lock(mutex_);
    const Statement statement(insert_);
    if (sqlite3_bind_text(*statement, 1, name.data(), static_cast<int>(name.size()),
                          SQLITE_TRANSIENT) != SQLITE_OK ||
        sqlite3_bind_int(*statement, 2, hundredths) != SQLITE_OK ||
        sqlite3_step(*statement) != SQLITE_DONE) {
        fail("store a score in");
    }
}

std::vector<ScoreEntry> ScoreStore::best(int count) {
    const std::lock_guard lock(mutex_);
    const Statement statement(selectBest_);
    std::vector<ScoreEntry> entries;
    if (sqlite3_bind_int(*statement, 1, count) != SQLITE_OK) {
        fail("read the scores of");
    }
    int status = SQLITE_ROW;
    while ((status = sqlite3_step(*statement)) == SQLITE_ROW) {
        entries.push_back({columnText(*statement, 0), sqlite3_column_int64(*statement, 1)});
    }
    if (status != SQLITE_DONE) {
        fail("read the scores of");
    }
    return entries;
}

std::int64_t ScoreStore::size() {
    const std::lock_guard lock(mutex_);
    const Statement statement(countAll_);
    if (sqlite3_step(*statement) != SQLITE_ROW) {
        fail("count the scores of");
    }
    return sqlite3_column_int64(*statement, 0);
}

void ScoreStore::execute(const char* sql) {
    if (sqlite3_exec(database_, sql, nullptr, nullptr, nullptr) != SQLITE_OK) {
        fail("set up");
    }
}

void ScoreStore::fail(const std::string& doing) const {
    throw StoreError(path_ + ": cannot " + doing + " the database: " +
                     (database_ != nullptr ? sqlite3_errmsg(database_) : "out of memory"));
}

} // namespace vastorim::server
