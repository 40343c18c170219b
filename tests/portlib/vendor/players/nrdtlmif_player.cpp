// Plays libnrDTLmIF.so. Scripted keys: each function's name for its result
// (default 0), "LIOpen.device" (default 63), "LIWrite.written" (default all
// offered). LIRead hands out the read data. LIOpen notes whether the event
// it was given is a descriptor that is open.
#include "player.h"

#include <fcntl.h>

#pragma GCC visibility push(default)
#include "backends/vendor/nrdtlmif_library.h"
#pragma GCC visibility pop

using namespace player;

int32_t LIOpen(int32_t flags, const char* printerName, int32_t eventFd, NrdtlmifDevice* device) {
    const bool open = eventFd >= 0 && ::fcntl(eventFd, F_GETFD) != -1;
    record("LIOpen(" + num(flags) + ", " + str(printerName) + ", " + (open ? "event" : "no event") +
           ")");
    *device = NrdtlmifDevice(result("LIOpen.device", 63));
    return int32_t(result("LIOpen", 0));
}

#ifndef PLAYER_OPENERS_ONLY
int32_t LIWrite(NrdtlmifDevice device, int32_t flags, const uint8_t* data, uint32_t size,
                uint32_t* written) {
    record("LIWrite(" + num(device) + ", " + num(flags) + ", " + num(size) + ")");
    uint32_t n = uint32_t(result("LIWrite.written", size));
    took(data, n < size ? n : size);
    *written = n;
    return int32_t(result("LIWrite", 0));
}

int32_t LIRead(NrdtlmifDevice device, uint32_t* status, uint8_t* buffer, uint32_t size,
               uint32_t* read) {
    record("LIRead(" + num(device) + ", " + num(size) + ")");
    *status = 0x5A;
    *read = uint32_t(give(buffer, size));
    return int32_t(result("LIRead", 0));
}

int32_t LILock(NrdtlmifDevice device) {
    record("LILock(" + num(device) + ")");
    return int32_t(result("LILock", 0));
}

int32_t LIUnlock(NrdtlmifDevice device) {
    record("LIUnlock(" + num(device) + ")");
    return int32_t(result("LIUnlock", 0));
}

int32_t LIClose(NrdtlmifDevice device) {
    record("LIClose(" + num(device) + ")");
    return int32_t(result("LIClose", 0));
}
#endif
