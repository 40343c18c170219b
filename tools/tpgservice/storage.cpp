#include "storage.h"

#include "profile_fields.h"

namespace tpgservice {

namespace {

void createSchema(SqliteDb& db) {
    std::string columns;
    for (std::string_view key : storedKeys()) {
        columns += ", " + std::string(key) + " TEXT NOT NULL DEFAULT ''";
    }
    db.exec("CREATE TABLE IF NOT EXISTS companies (id TEXT PRIMARY KEY" + columns + ")");
    db.exec("CREATE TABLE IF NOT EXISTS events ("
            " seq INTEGER PRIMARY KEY AUTOINCREMENT,"
            " company TEXT NOT NULL, qr INTEGER NOT NULL, option_no INTEGER NOT NULL,"
            " created TEXT NOT NULL DEFAULT (datetime('now')),"
            " handed_out INTEGER NOT NULL DEFAULT 0)");
    db.exec("CREATE INDEX IF NOT EXISTS events_pending ON events (company, handed_out, seq)");
    db.exec("CREATE TABLE IF NOT EXISTS qr_images ("
            " company TEXT NOT NULL, qr INTEGER NOT NULL, png BLOB NOT NULL,"
            " PRIMARY KEY (company, qr))");
}

} // namespace

Storage::Storage(const std::filesystem::path& file) : db_(file) {
    // WAL lets a second process read (a look with the sqlite3 shell) while we write.
    db_.exec("PRAGMA journal_mode=WAL");
    db_.exec("PRAGMA synchronous=NORMAL");
    createSchema(db_);
}

std::optional<Profile> Storage::company(const std::string& id) {
    std::lock_guard lock(mutex_);
    SqliteStatement q(db_, "SELECT * FROM companies WHERE id = ?1");
    q.bind(1, id);
    if (!q.step()) return std::nullopt;
    Profile profile;
    int column = 1; // column 0 is the id; the rest follow storedKeys() order
    for (std::string_view key : storedKeys())
        profile[std::string(key)] = q.text(column++);
    return profile;
}

void Storage::writeCompany(const std::string& id,
                           const std::vector<std::pair<std::string, std::string>>& fields) {
    std::lock_guard lock(mutex_);
    SqliteTransaction tx(db_);
    SqliteStatement(db_, "INSERT OR IGNORE INTO companies (id) VALUES (?1)").bind(1, id).run();
    for (const auto& [key, value] : fields) {
        if (!isStoredKey(key)) continue; // column names come only from our own list
        SqliteStatement update(db_, "UPDATE companies SET " + key + " = ?1 WHERE id = ?2");
        update.bind(1, value).bind(2, id).run();
    }
    tx.commit();
}

bool Storage::addEvent(const std::string& id, std::int64_t qr, int option) {
    std::lock_guard lock(mutex_);
    SqliteTransaction tx(db_);
    SqliteStatement count(db_, "SELECT count(*) FROM events WHERE company = ?1 AND handed_out = 0");
    count.bind(1, id);
    count.step();
    if (count.integer(0) >= kMaxPendingEvents) return false;
    SqliteStatement(db_, "INSERT INTO events (company, qr, option_no) VALUES (?1, ?2, ?3)")
        .bind(1, id)
        .bind(2, qr)
        .bind(3, static_cast<std::int64_t>(option))
        .run();
    tx.commit();
    return true;
}

std::vector<GuestEvent> Storage::takePendingEvents(const std::string& id) {
    std::lock_guard lock(mutex_);
    SqliteTransaction tx(db_);
    std::vector<GuestEvent> events;
    std::int64_t last = 0;
    {
        SqliteStatement q(db_, "SELECT seq, qr, option_no FROM events"
                               " WHERE company = ?1 AND handed_out = 0 ORDER BY seq");
        q.bind(1, id);
        while (q.step()) {
            last = q.integer(0);
            events.push_back({q.integer(1), static_cast<int>(q.integer(2))});
        }
    }
    if (!events.empty()) {
        SqliteStatement(db_, "UPDATE events SET handed_out = 1"
                             " WHERE company = ?1 AND handed_out = 0 AND seq <= ?2")
            .bind(1, id)
            .bind(2, last)
            .run();
    }
    tx.commit();
    return events;
}

int Storage::clearPendingEvents(const std::string& id) {
    std::lock_guard lock(mutex_);
    SqliteStatement(db_, "UPDATE events SET handed_out = 1 WHERE company = ?1 AND handed_out = 0")
        .bind(1, id)
        .run();
    return db_.changes();
}

std::vector<EventCount> Storage::eventCounts(const std::string& id) {
    std::lock_guard lock(mutex_);
    SqliteStatement q(db_, "SELECT qr, option_no, count(*) FROM events WHERE company = ?1"
                           " GROUP BY qr, option_no ORDER BY qr, option_no");
    q.bind(1, id);
    std::vector<EventCount> counts;
    while (q.step()) {
        counts.push_back({q.integer(0), static_cast<int>(q.integer(1)), q.integer(2)});
    }
    return counts;
}

void Storage::putImage(const std::string& id, std::int64_t qr,
                       const std::vector<std::uint8_t>& png) {
    std::lock_guard lock(mutex_);
    SqliteStatement(db_, "INSERT OR REPLACE INTO qr_images (company, qr, png) VALUES (?1, ?2, ?3)")
        .bind(1, id)
        .bind(2, qr)
        .bindBlob(3, png)
        .run();
}

std::optional<std::vector<std::uint8_t>> Storage::image(const std::string& id, std::int64_t qr) {
    std::lock_guard lock(mutex_);
    SqliteStatement q(db_, "SELECT png FROM qr_images WHERE company = ?1 AND qr = ?2");
    q.bind(1, id).bind(2, qr);
    if (!q.step()) return std::nullopt;
    return q.blob(0);
}

std::vector<std::int64_t> Storage::imageNumbers(const std::string& id) {
    std::lock_guard lock(mutex_);
    SqliteStatement q(db_, "SELECT qr FROM qr_images WHERE company = ?1 ORDER BY qr");
    q.bind(1, id);
    std::vector<std::int64_t> numbers;
    while (q.step())
        numbers.push_back(q.integer(0));
    return numbers;
}

} // namespace tpgservice
