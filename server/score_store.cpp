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
CREATE TABLE IF NOT EXISTS replays (
    score_id INTEGER PRIMARY KEY REFERENCES scores (id),
    state TEXT NOT NULL DEFAULT 'unverified' CHECK (state IN ('unverified', 'verified', 'rejected')),
    replay BLOB NOT NULL,
    picture BLOB,
    uploaded INTEGER NOT NULL DEFAULT (CAST(strftime('%s', 'now') AS INTEGER))
);
)sql";

// The columns that make a ScoreEntry, in its order, from `scores s` and `replays r`.
#define ENTRY_COLUMNS                                                                              \
    "s.id, s.name, s.hundredths, coalesce(r.state, 'unverified'), r.score_id IS NOT NULL, "        \
    "r.picture IS NOT NULL"

constexpr const char* kStateNames[] = {"unverified", "verified", "rejected"};

// A text or a blob column's bytes as they are stored.
std::string columnBytes(sqlite3_stmt* statement, int column) {
    const auto* bytes = static_cast<const char*>(sqlite3_column_blob(statement, column));
    return bytes == nullptr
               ? std::string()
               : std::string(bytes,
                             static_cast<std::size_t>(sqlite3_column_bytes(statement, column)));
}

ReplayState stateNamed(const std::string& name) {
    for (std::size_t state = 0; state < std::size(kStateNames); ++state) {
        if (name == kStateNames[state]) {
            return static_cast<ReplayState>(state);
        }
    }
    return ReplayState::unverified;
}

ScoreEntry entryFrom(sqlite3_stmt* statement) {
    return {sqlite3_column_int64(statement, 0),    columnBytes(statement, 1),
            sqlite3_column_int64(statement, 2),    stateNamed(columnBytes(statement, 3)),
            sqlite3_column_int(statement, 4) != 0, sqlite3_column_int(statement, 5) != 0};
}

} // namespace

const char* stateName(ReplayState state) {
    return kStateNames[static_cast<std::size_t>(state)];
}

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
        prepare("SELECT " ENTRY_COLUMNS " FROM scores s LEFT JOIN replays r ON r.score_id = s.id "
                "ORDER BY s.hundredths DESC, s.id LIMIT ?1",
                &selectBest_);
        prepare("SELECT " ENTRY_COLUMNS " FROM scores s JOIN replays r ON r.score_id = s.id "
                "WHERE r.state = 'verified' ORDER BY s.hundredths DESC, s.id LIMIT ?1",
                &selectBestVerified_);
        prepare("SELECT count(*) FROM scores", &countAll_);
        prepare("INSERT INTO replays (score_id, replay) SELECT id, ?3 FROM scores "
                "WHERE name = ?1 AND hundredths = ?2 AND id NOT IN (SELECT score_id FROM replays) "
                "ORDER BY id DESC LIMIT 1",
                &attachReplay_);
        prepare("SELECT " ENTRY_COLUMNS ", r.replay FROM replays r JOIN scores s "
                "ON s.id = r.score_id WHERE r.score_id = ?1",
                &selectReplay_);
        prepare("SELECT picture FROM replays WHERE score_id = ?1 AND picture IS NOT NULL",
                &selectPicture_);
        prepare("UPDATE replays SET state = ?2, picture = ?3 WHERE score_id = ?1", &judge_);
        prepare("SELECT score_id FROM replays WHERE state = 'unverified' ORDER BY score_id",
                &selectUnplayed_);
    } catch (...) {
        close();
        throw;
    }
}

ScoreStore::~ScoreStore() {
    close();
}

void ScoreStore::close() {
    for (sqlite3_stmt** statement :
         {&insert_, &selectBest_, &selectBestVerified_, &countAll_, &attachReplay_, &selectReplay_,
          &selectPicture_, &judge_, &selectUnplayed_}) {
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
    bindText(*statement, 1, name, "store a score in");
    if (sqlite3_bind_int(*statement, 2, hundredths) != SQLITE_OK ||
        sqlite3_step(*statement) != SQLITE_DONE) {
        fail("store a score in");
    }
}

std::vector<ScoreEntry> ScoreStore::best(int count, bool verifiedOnly) {
    const std::lock_guard lock(mutex_);
    const Statement statement(verifiedOnly ? selectBestVerified_ : selectBest_);
    std::vector<ScoreEntry> entries;
    if (sqlite3_bind_int(*statement, 1, count) != SQLITE_OK) {
        fail("read the scores of");
    }
    int status = SQLITE_ROW;
    while ((status = sqlite3_step(*statement)) == SQLITE_ROW) {
        entries.push_back(entryFrom(*statement));
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

std::optional<std::int64_t> ScoreStore::attachReplay(std::string_view name, std::int32_t hundredths,
                                                     std::string_view replay) {
    const std::lock_guard lock(mutex_);
    const Statement statement(attachReplay_);
    bindText(*statement, 1, name, "store a replay in");
    if (sqlite3_bind_int(*statement, 2, hundredths) != SQLITE_OK ||
        sqlite3_bind_blob64(*statement, 3, replay.data(), replay.size(), SQLITE_TRANSIENT) !=
            SQLITE_OK ||
        sqlite3_step(*statement) != SQLITE_DONE) {
        fail("store a replay in");
    }
    if (sqlite3_changes(database_) == 0) {
        return std::nullopt;
    }
    return sqlite3_last_insert_rowid(database_);
}

std::optional<std::pair<ScoreEntry, std::string>> ScoreStore::replay(std::int64_t id) {
    const std::lock_guard lock(mutex_);
    const Statement statement(selectReplay_);
    if (!stepById(*statement, id, "read a replay of")) {
        return std::nullopt;
    }
    return std::pair(entryFrom(*statement), columnBytes(*statement, 6));
}

std::optional<std::string> ScoreStore::picture(std::int64_t id) {
    const std::lock_guard lock(mutex_);
    const Statement statement(selectPicture_);
    if (!stepById(*statement, id, "read a picture of")) {
        return std::nullopt;
    }
    return columnBytes(*statement, 0);
}

void ScoreStore::judge(std::int64_t id, ReplayState state, std::string_view picture) {
    const std::lock_guard lock(mutex_);
    const Statement statement(judge_);
    const bool bound =
        sqlite3_bind_int64(*statement, 1, id) == SQLITE_OK &&
        sqlite3_bind_text(*statement, 2, stateName(state), -1, SQLITE_STATIC) == SQLITE_OK &&
        (picture.empty() ? sqlite3_bind_null(*statement, 3)
                         : sqlite3_bind_blob64(*statement, 3, picture.data(), picture.size(),
                                               SQLITE_TRANSIENT)) == SQLITE_OK;
    if (!bound || sqlite3_step(*statement) != SQLITE_DONE) {
        fail("store a verdict in");
    }
}

std::vector<std::int64_t> ScoreStore::unplayedReplays() {
    const std::lock_guard lock(mutex_);
    const Statement statement(selectUnplayed_);
    std::vector<std::int64_t> ids;
    int status = SQLITE_ROW;
    while ((status = sqlite3_step(*statement)) == SQLITE_ROW) {
        ids.push_back(sqlite3_column_int64(*statement, 0));
    }
    if (status != SQLITE_DONE) {
        fail("read the replays of");
    }
    return ids;
}

bool ScoreStore::stepById(sqlite3_stmt* statement, std::int64_t id, const char* doing) const {
    if (sqlite3_bind_int64(statement, 1, id) != SQLITE_OK) {
        fail(doing);
    }
    const int status = sqlite3_step(statement);
    if (status != SQLITE_ROW && status != SQLITE_DONE) {
        fail(doing);
    }
    return status == SQLITE_ROW;
}

void ScoreStore::bindText(sqlite3_stmt* statement, int index, std::string_view text,
                          const char* doing) const {
    if (sqlite3_bind_text(statement, index, text.data(), static_cast<int>(text.size()),
                          SQLITE_TRANSIENT) != SQLITE_OK) {
        fail(doing);
    }
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
