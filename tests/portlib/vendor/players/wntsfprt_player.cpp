// Plays libWNTSFPRT.so. Scripted keys: each function's name for its result
// (default 0), "PrtOpenDevice.device" (default 0x1B4D),
// "PrtWriteDevice.length" (default all offered), "PrtGetEnvVars.<which>" for
// the first 8-byte value of that set (little end first),
// "PrtDeviceStatus.value" for the 6 status bytes. Reads hand out read data.
#include "player.h"

#include <cstring>

#pragma GCC visibility push(default)
#include "backends/vendor/wntsfprt_library.h"
#pragma GCC visibility pop

using namespace player;

uint16_t PrtOpenDevice(WntsfprtDevice* device, uint16_t number, uint32_t timeoutMs) {
    record("PrtOpenDevice(" + num(number) + ", " + num(timeoutMs) + ")");
    *device = WntsfprtDevice(result("PrtOpenDevice.device", 0x1B4D));
    return uint16_t(result("PrtOpenDevice", 0));
}

#ifndef PLAYER_OPENERS_ONLY
uint16_t PrtWriteDevice(WntsfprtDevice device, uint16_t station, const uint8_t* data,
                        uint16_t* length) {
    record("PrtWriteDevice(" + num(device) + ", " + num(station) + ", " + num(*length) + ")");
    uint16_t n = uint16_t(result("PrtWriteDevice.length", *length));
    took(data, n < *length ? n : *length);
    *length = n;
    return uint16_t(result("PrtWriteDevice", 0));
}

uint16_t PrtReadDevice(WntsfprtDevice device, uint16_t station, uint8_t* buffer, uint16_t* length) {
    record("PrtReadDevice(" + num(device) + ", " + num(station) + ", " + num(*length) + ")");
    *length = uint16_t(give(buffer, *length));
    return uint16_t(result("PrtReadDevice", 0));
}

uint16_t PrtBeginTrans(WntsfprtDevice device, uint16_t mode) {
    record("PrtBeginTrans(" + num(device) + ", " + num(mode) + ")");
    return uint16_t(result("PrtBeginTrans", 0));
}

uint16_t PrtEndTrans(WntsfprtDevice device) {
    record("PrtEndTrans(" + num(device) + ")");
    return uint16_t(result("PrtEndTrans", 0));
}

uint16_t PrtCloseDevice(WntsfprtDevice device) {
    record("PrtCloseDevice(" + num(device) + ")");
    return uint16_t(result("PrtCloseDevice", 0));
}

uint16_t PrtGetEnvVars(WntsfprtDevice device, uint16_t station, void* buffer, uint16_t which) {
    record("PrtGetEnvVars(" + num(device) + ", " + num(station) + ", " + num(which) + ")");
    uint64_t value = uint64_t(result("PrtGetEnvVars." + num(which), 0));
    std::memcpy(buffer, &value, sizeof value);
    return uint16_t(result("PrtGetEnvVars", 0));
}

uint16_t PrtDeviceStatus(WntsfprtDevice device, uint16_t station, uint16_t which, void* buffer,
                         uint16_t* size) {
    record("PrtDeviceStatus(" + num(device) + ", " + num(station) + ", " + num(which) + ", " +
           num(*size) + ")");
    uint64_t value = uint64_t(result("PrtDeviceStatus.value", 0));
    std::memcpy(buffer, &value, 6);
    *size = 6;
    return uint16_t(result("PrtDeviceStatus", 0));
}

uint16_t PrtGetCP(WntsfprtDevice device, uint16_t codePage) {
    record("PrtGetCP(" + num(device) + ", " + num(codePage) + ")");
    return uint16_t(result("PrtGetCP", 0));
}

uint16_t PrtSetCP(WntsfprtDevice device, uint16_t codePage, uint16_t table) {
    record("PrtSetCP(" + num(device) + ", " + num(codePage) + ", " + num(table) + ")");
    return uint16_t(result("PrtSetCP", 0));
}
#endif
