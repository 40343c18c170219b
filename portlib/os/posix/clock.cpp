#include "os/os_clock.h"

#include "os/posix/syscalls.h"

#include <time.h>

#include <cerrno>

namespace os {

uint32_t tickCount() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    uint64_t ms = uint64_t(ts.tv_sec) * 1000u + uint64_t(ts.tv_nsec) / 1000000u;
    return uint32_t(ms);
}

void sleepMs(uint32_t ms) {
    timespec left{time_t(ms / 1000), long(ms % 1000) * 1000000L};
    while (sys::nanosleep(&left, &left) != 0 && errno == EINTR) {
    }
}

} // namespace os

namespace os {

LocalTime localTime() {
    timespec ts{};
    clock_gettime(CLOCK_REALTIME, &ts);
    tm t{};
    localtime_r(&ts.tv_sec, &t);
    return {t.tm_mon + 1, t.tm_mday, t.tm_hour, t.tm_min, t.tm_sec, int(ts.tv_nsec / 1000000)};
}

} // namespace os
