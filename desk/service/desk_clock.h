// The service loop's idea of the time of day. The tray timer only says "a
// tick"; whether the tick polls depends on the wall clock, which tests set.
#pragma once

#include <QDateTime>

class DeskClock {
public:
    virtual ~DeskClock() = default;
    virtual QDateTime now() const = 0;
};

// The local wall clock.
class SystemDeskClock final : public DeskClock {
public:
    QDateTime now() const override;
};

// Seconds 0, 20 and 40 of each minute are the polling seconds.
bool ispollsecond(const QDateTime& when);
