#include "os/os_wait.h"

#include "os/os_clock.h"
#include "os/posix/syscalls.h"

#include <poll.h>

#include <cerrno>

namespace os {

int waitAny(std::initializer_list<WaitItem> items, uint32_t timeoutMs) {
    return waitAny(items.begin(), items.size(), timeoutMs);
}

int waitAny(const WaitItem* items, size_t count, uint32_t timeoutMs) {
    pollfd fds[8];
    if (count > 8 || count == 0) {
        errno = EINVAL;
        return kWaitFailed;
    }
    nfds_t n = 0;
    for (size_t i = 0; i < count; ++i)
        fds[n++] =
            pollfd{int(items[i].handle), short(items[i].want == Want::Read ? POLLIN : POLLOUT), 0};
    const uint32_t start = tickCount();
    for (;;) {
        int wait = -1;
        if (timeoutMs != kWaitInfinite) {
            uint32_t spent = tickCount() - start;
            wait = spent >= timeoutMs ? 0 : int(timeoutMs - spent);
        }
        int r = sys::poll(fds, n, wait);
        if (r < 0) {
            if (errno == EINTR) continue;
            return kWaitFailed;
        }
        if (r == 0) return kWaitTimeout;
        for (nfds_t i = 0; i < n; ++i)
            if (fds[i].revents & (fds[i].events | POLLERR | POLLHUP | POLLNVAL)) return int(i);
    }
}

} // namespace os
