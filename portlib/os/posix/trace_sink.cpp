#include "os/os_trace_sink.h"

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <mutex>

namespace os {
namespace {

std::mutex sinkLock;
int sinkFd = -1;
bool chosen = false;
// Whether lines go anywhere, for callers that look before they format:
// unknown until the sink is chosen.
enum : int { kUnknown, kOff, kOn };
std::atomic<int> state{kUnknown};

int openSink() {
    const char* where = std::getenv("DOVA_TRACE");
    if (!where || !*where) return -1;
    if (std::strcmp(where, "-") == 0) return STDERR_FILENO;
    return ::open(where, O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
}

void choose() {
    chosen = true;
    sinkFd = openSink();
    state.store(sinkFd >= 0 ? kOn : kOff);
}

} // namespace

bool traceWanted() {
    int s = state.load(std::memory_order_relaxed);
    if (s != kUnknown) return s == kOn;
    std::lock_guard<std::mutex> guard(sinkLock);
    if (!chosen) choose();
    return sinkFd >= 0;
}

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
    state.store(kUnknown);
}

} // namespace os
