// One transfer on a descriptor the caller does not own (a worker borrowing its
// port's device): bytes moved, 0 at the end of a stream, or -1 with the cause
// in os::lastError() (os::errorWouldBlock when the descriptor is not ready).
// An interrupted call is repeated. Writing to a socket never raises SIGPIPE.
#pragma once

#include <cstddef>
#include <cstdint>

#include "os/os_error.h"

namespace os {

long socketSendSome(intptr_t socket, const void* data, size_t length);
long socketRecvSome(intptr_t socket, void* buffer, size_t size);
// What a readable socket holds, without taking it: 1 data, 0 the peer's
// orderly end, -1 an error or nothing yet (see os::lastError()).
int socketPending(intptr_t socket);
long fileWriteSome(intptr_t handle, const void* data, size_t length);
long fileReadSome(intptr_t handle, void* buffer, size_t size);

} // namespace os
