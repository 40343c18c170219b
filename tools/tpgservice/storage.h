#pragma once
// The service's data: companies with their profile, guest-call events with a
// pending/handed-out state, and the QR images made for them. One SQLite file.

#include "sqlite_db.h"

#include <cstdint>
#include <filesystem>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace tpgservice {

using Profile = std::map<std::string, std::string>;

struct GuestEvent {
    std::int64_t qr = 0;
    int option = 0;
};

struct EventCount {
    std::int64_t qr = 0;
    int option = 0;
    std::int64_t count = 0;
};

class Storage {
public:
    // Guest pages are open to anybody; this bounds what one company can pile up
    // unread before new calls are refused.
    static constexpr std::int64_t kMaxPendingEvents = 1000;

    explicit Storage(const std::filesystem::path& file);

    std::optional<Profile> company(const std::string& id);
    // Creates the company on its first write; keys not given keep their value.
    void writeCompany(const std::string& id,
                      const std::vector<std::pair<std::string, std::string>>& fields);

    // False when the company has too many unread events already.
    bool addEvent(const std::string& id, std::int64_t qr, int option);
    // The pending events, oldest first, each handed out exactly once even
    // when several readers ask at the same moment.
    std::vector<GuestEvent> takePendingEvents(const std::string& id);
    int clearPendingEvents(const std::string& id);
    std::vector<EventCount> eventCounts(const std::string& id);

    void putImage(const std::string& id, std::int64_t qr, const std::vector<std::uint8_t>& png);
    std::optional<std::vector<std::uint8_t>> image(const std::string& id, std::int64_t qr);
    std::vector<std::int64_t> imageNumbers(const std::string& id);

private:
    // One connection serves every request thread; a transaction must not be
    // joined by another thread's statements, hence one lock around each call.
    std::mutex mutex_;
    SqliteDb db_;
};

} // namespace tpgservice
