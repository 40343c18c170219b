// Plays libStarIOPort.so. Scripted keys: each function's name for its result
// (OpenPortA: the handle), "WritePort.written" (default: all offered),
// "GetOnlineStatus.online" (default 1). ReadPort hands out the read data.
#include "player.h"

#pragma GCC visibility push(default)
#include "backends/vendor/stario_port_library.h"
#pragma GCC visibility pop

using namespace player;

namespace {

[[maybe_unused]] std::string h(StarIOPortHandle port) {
    return num(int64_t(reinterpret_cast<intptr_t>(port)));
}

} // namespace

StarIOPortHandle OpenPortA(const char* portName, const char* settings, uint32_t timeoutMs) {
    record("OpenPortA(" + str(portName) + ", " + str(settings) + ", " + num(timeoutMs) + ")");
    return reinterpret_cast<StarIOPortHandle>(intptr_t(result("OpenPortA", 0x51A0)));
}

#ifndef PLAYER_OPENERS_ONLY
int32_t WritePort(StarIOPortHandle port, const uint8_t* data, uint32_t size, uint32_t* written) {
    record("WritePort(" + h(port) + ", " + num(size) + ")");
    uint32_t n = uint32_t(result("WritePort.written", size));
    took(data, n < size ? n : size);
    *written = n;
    return int32_t(result("WritePort", 1));
}

int32_t ReadPort(StarIOPortHandle port, uint8_t* buffer, uint32_t size, uint32_t* read) {
    record("ReadPort(" + h(port) + ", " + num(size) + ")");
    *read = uint32_t(give(buffer, size));
    return int32_t(result("ReadPort", 1));
}

int32_t ClosePort(StarIOPortHandle port) {
    record("ClosePort(" + h(port) + ")");
    return int32_t(result("ClosePort", 1));
}

int32_t ResetDevice(StarIOPortHandle port) {
    record("ResetDevice(" + h(port) + ")");
    return int32_t(result("ResetDevice", 1));
}

int32_t GetOnlineStatus(StarIOPortHandle port, int32_t* online) {
    record("GetOnlineStatus(" + h(port) + ")");
    *online = int32_t(result("GetOnlineStatus.online", 1));
    return int32_t(result("GetOnlineStatus", 1));
}
#endif
