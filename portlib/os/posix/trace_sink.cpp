#include "os/os_trace_sink.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <mutex>

namespace os {
namespace {

std::mutex sinkLock;
int sinkFd = -1;
bool chosen = false;

void choose() {
    chosen = true;
    const char* where = std::getenv("DOVA_TRACE");
    if (!where || !*where) return;
    if (std::strcmp(where, "-") == 0) {
        sinkFd = STDERR_FILENO;
        return;
    }
    sinkFd = ::open(where, O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
}

} // namespace

void traceWrite(const char* text, size_t length) {
    std::lock_guard<std::mutex> guard(sinkLock);
    if (!chosen) choose();
    if (sinkFd < 0) return;
    while (length > 0) {
        ssize_t n = ::write(sinkFd, text, length);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return;
        text += n;
        length -= size_t(n);
    }
}

void traceReset() {
    std::lock_guard<std::mutex> guard(sinkLock);
    if (sinkFd > STDERR_FILENO) ::close(sinkFd);
    sinkFd = -1;
    chosen = false;
}

} // namespace os
