#include "os/os_console.h"

#include "os/posix/syscalls.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>

namespace os {

intptr_t consoleHandle() {
    return STDOUT_FILENO;
}

bool consoleWrite(const void* data, size_t length) {
    // The console call refuses a redirected handle; so do we.
    if (!::isatty(STDOUT_FILENO)) return false;
    std::fflush(stdout); // keep order with what the program printed through stdio
    auto p = static_cast<const char*>(data);
    while (length > 0) {
        ssize_t n = sys::write(STDOUT_FILENO, p, length);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        p += n;
        length -= size_t(n);
    }
    return true;
}

} // namespace os
