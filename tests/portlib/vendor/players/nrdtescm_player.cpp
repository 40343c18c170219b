// Plays libnrDTescM.so. Scripted keys: each function's name for its result
// (default 0), "devOpenA.device" (default 52), "devWrite.written" (default
// all offered). devRead hands out the read data.
#include "player.h"

#pragma GCC visibility push(default)
#include "backends/vendor/nrdtescm_library.h"
#pragma GCC visibility pop

using namespace player;

int32_t devOpenA(NrdtescmDevice* device, const char* printerName, int32_t flags,
                 const char* driverName) {
    record("devOpenA(" + str(printerName) + ", " + num(flags) + ", " + str(driverName) + ")");
    *device = NrdtescmDevice(result("devOpenA.device", 52));
    return int32_t(result("devOpenA", 0));
}

#ifndef PLAYER_OPENERS_ONLY
int32_t devWrite(NrdtescmDevice device, uint32_t timeoutMs, const uint8_t* data, uint32_t size,
                 uint32_t* written) {
    record("devWrite(" + num(device) + ", " + num(timeoutMs) + ", " + num(size) + ")");
    uint32_t n = uint32_t(result("devWrite.written", size));
    took(data, n < size ? n : size);
    *written = n;
    return int32_t(result("devWrite", 0));
}

int32_t devRead(NrdtescmDevice device, uint32_t timeoutMs, uint32_t* status, uint8_t* buffer,
                uint32_t size, uint32_t* read) {
    record("devRead(" + num(device) + ", " + num(timeoutMs) + ", " + num(size) + ")");
    *status = 0x5A;
    *read = uint32_t(give(buffer, size));
    return int32_t(result("devRead", 0));
}

int32_t devLock(NrdtescmDevice device, uint32_t timeoutMs) {
    record("devLock(" + num(device) + ", " + num(timeoutMs) + ")");
    return int32_t(result("devLock", 0));
}

int32_t devUnlock(NrdtescmDevice device) {
    record("devUnlock(" + num(device) + ")");
    return int32_t(result("devUnlock", 0));
}

int32_t devClose(NrdtescmDevice device) {
    record("devClose(" + num(device) + ")");
    return int32_t(result("devClose", 0));
}
#endif
