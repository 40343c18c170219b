// Waiting for several handles at once: the POSIX form of waiting on a
// (stop event, I/O event) pair. An item is a descriptor and the readiness the
// waiter wants; an os::Event is ready to read while it is raised.
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>

#include "os/os_error.h"

namespace os {

enum class Want { Read, Write };

struct WaitItem {
    intptr_t handle;
    Want want;
};

constexpr uint32_t kWaitInfinite = 0xFFFFFFFFu;
constexpr int kWaitTimeout = -1;
constexpr int kWaitFailed = -2;

// Waits until one item is ready and returns the index of the first ready one
// (so the stop signal goes first to win over data), kWaitTimeout after
// timeoutMs, or kWaitFailed (os::lastError() tells why). An error or hang-up
// on a descriptor counts as ready: the next call on it reports the cause.
int waitAny(std::initializer_list<WaitItem> items, uint32_t timeoutMs);
int waitAny(const WaitItem* items, size_t count, uint32_t timeoutMs);

} // namespace os
