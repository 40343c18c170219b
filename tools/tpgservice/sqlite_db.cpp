#include "sqlite_db.h"

#include <sqlite3.h>

#include <stdexcept>

namespace tpgservice {

SqliteDb::SqliteDb(const std::filesystem::path& file) {
    int rc = sqlite3_open_v2(file.c_str(), &db_,
                             SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_FULLMUTEX,
                             nullptr);
    if (rc != SQLITE_OK) {
        std::string message = db_ ? sqlite3_errmsg(db_) : sqlite3_errstr(rc);
        sqlite3_close(db_);
        db_ = nullptr;
        throw std::runtime_error("cannot open database " + file.string() + ": " + message);
    }
    // Another process on the same file waits a little instead of failing at once.
    sqlite3_busy_timeout(db_, 5000);
}

SqliteDb::~SqliteDb() {
    sqlite3_close(db_);
}

void SqliteDb::exec(std::string_view sql) {
    std::string text(sql);
    char* error = nullptr;
    if (sqlite3_exec(db_, text.c_str(), nullptr, nullptr, &error) != SQLITE_OK) {
        std::string message = error ? error : "unknown error";
        sqlite3_free(error);
        throw std::runtime_error("database: " + message);
    }
}

int SqliteDb::changes() const {
    return sqlite3_changes(db_);
}

void SqliteDb::fail(std::string_view what) const {
    throw std::runtime_error("database: " + std::string(what) + ": " + sqlite3_errmsg(db_));
}

SqliteStatement::SqliteStatement(SqliteDb& db, std::string_view sql) : db_(db) {
    if (sqlite3_prepare_v2(db.handle(), sql.data(), static_cast<int>(sql.size()), &stmt_,
                           nullptr) != SQLITE_OK) {
        db.fail("prepare");
    }
}

SqliteStatement::~SqliteStatement() {
    sqlite3_finalize(stmt_);
}

SqliteStatement& SqliteStatement::bind(int index, std::string_view text) {
    if (sqlite3_bind_text(stmt_, index, text.data(), static_cast<int>(text.size()),
                          SQLITE_TRANSIENT) != SQLITE_OK) {
        db_.fail("bind");
    }
    return *this;
}

SqliteStatement& SqliteStatement::bind(int index, std::int64_t value) {
    if (sqlite3_bind_int64(stmt_, index, value) != SQLITE_OK) db_.fail("bind");
    return *this;
}

SqliteStatement& SqliteStatement::bindBlob(int index, std::span<const std::uint8_t> data) {
    if (sqlite3_bind_blob(stmt_, index, data.data(), static_cast<int>(data.size()),
                          SQLITE_TRANSIENT) != SQLITE_OK) {
        db_.fail("bind");
    }
    return *this;
}

bool SqliteStatement::step() {
    int rc = sqlite3_step(stmt_);
    if (rc == SQLITE_ROW) return true;
    if (rc == SQLITE_DONE) return false;
    db_.fail("step");
}

void SqliteStatement::run() {
    while (step()) {
    }
}

std::string SqliteStatement::text(int column) const {
    auto* p = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, column));
    return p ? std::string(p, static_cast<std::size_t>(sqlite3_column_bytes(stmt_, column)))
             : std::string();
}

std::int64_t SqliteStatement::integer(int column) const {
    return sqlite3_column_int64(stmt_, column);
}

std::vector<std::uint8_t> SqliteStatement::blob(int column) const {
    auto* p = static_cast<const std::uint8_t*>(sqlite3_column_blob(stmt_, column));
    auto n = static_cast<std::size_t>(sqlite3_column_bytes(stmt_, column));
    return p ? std::vector<std::uint8_t>(p, p + n) : std::vector<std::uint8_t>();
}

SqliteTransaction::SqliteTransaction(SqliteDb& db) : db_(db) {
    db_.exec("BEGIN IMMEDIATE");
}

SqliteTransaction::~SqliteTransaction() {
    if (!done_) sqlite3_exec(db_.handle(), "ROLLBACK", nullptr, nullptr, nullptr);
}

void SqliteTransaction::commit() {
    db_.exec("COMMIT");
    done_ = true;
}

} // namespace tpgservice
