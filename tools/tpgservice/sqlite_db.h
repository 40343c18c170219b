#pragma once
// A thin RAII layer over the SQLite C API: one connection, prepared
// statements with bound parameters, and a transaction guard.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace tpgservice {

class SqliteDb;

class SqliteStatement {
public:
    SqliteStatement(SqliteDb& db, std::string_view sql);
    ~SqliteStatement();
    SqliteStatement(const SqliteStatement&) = delete;
    SqliteStatement& operator=(const SqliteStatement&) = delete;

    // Parameters are numbered from 1, as in SQL.
    SqliteStatement& bind(int index, std::string_view text);
    SqliteStatement& bind(int index, std::int64_t value);
    SqliteStatement& bindBlob(int index, std::span<const std::uint8_t> data);

    // Runs to the next row; false when there is none left.
    bool step();
    // Runs a statement that returns no rows.
    void run();

    std::string text(int column) const;
    std::int64_t integer(int column) const;
    std::vector<std::uint8_t> blob(int column) const;

private:
    SqliteDb& db_;
    sqlite3_stmt* stmt_ = nullptr;
};

class SqliteDb {
public:
    explicit SqliteDb(const std::filesystem::path& file);
    ~SqliteDb();
    SqliteDb(const SqliteDb&) = delete;
    SqliteDb& operator=(const SqliteDb&) = delete;

    void exec(std::string_view sql);
    int changes() const;
    sqlite3* handle() const { return db_; }
    [[noreturn]] void fail(std::string_view what) const;

private:
    sqlite3* db_ = nullptr;
};

// BEGIN IMMEDIATE takes the write lock at once, so a read-then-mark sequence
// cannot interleave with another writer (another process on the same file
// included). Rolls back unless commit() was reached.
class SqliteTransaction {
public:
    explicit SqliteTransaction(SqliteDb& db);
    ~SqliteTransaction();
    SqliteTransaction(const SqliteTransaction&) = delete;
    SqliteTransaction& operator=(const SqliteTransaction&) = delete;
    void commit();

private:
    SqliteDb& db_;
    bool done_ = false;
};

} // namespace tpgservice
