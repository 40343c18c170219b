// Plays the port-handler library (libOrvanGW.so, and libKestra.so under a
// Program Files folder). Scripted keys: each function's name for its result
// (default 0), "Open.handle" (default 0x6757), "SendReceive.sent" (default:
// all offered). PlayerDeliver calls the registered callback from a thread
// of the library's own.
#include "callback_thread.h"
#include "player.h"

#pragma GCC visibility push(default)
#include "backends/printsvc/gw_library.h"
#pragma GCC visibility pop

#include <cstdio>
#include <cstring>
#include <mutex>

using namespace player;

namespace {

std::mutex registrationLock;
GW_CALLBACK registered = nullptr;
void* registeredContext = nullptr;
CallbackThread deliveries;

std::string hex(uint32_t value) {
    char b[16];
    std::snprintf(b, sizeof b, "0x%X", value);
    return b;
}

} // namespace

int32_t Open(const char16_t* name, GW_HANDLE* handle) {
    record("Open(" + str16(name) + ")");
    int32_t r = int32_t(result("Open", 0));
    *handle = r == 0 ? GW_HANDLE(result("Open.handle", 0x6757)) : 0;
    return r;
}

int32_t Close(GW_HANDLE handle) {
    record("Close(" + num(handle) + ")");
    return int32_t(result("Close", 0));
}

int32_t Lock(GW_HANDLE handle, uint32_t timeoutMs) {
    record("Lock(" + num(handle) + ", " + num(timeoutMs) + ")");
    return int32_t(result("Lock", 0));
}

int32_t Unlock(GW_HANDLE handle) {
    record("Unlock(" + num(handle) + ")");
    return int32_t(result("Unlock", 0));
}

int32_t RegisterCallback(GW_HANDLE handle, uint32_t code, GW_CALLBACK callback, void* context) {
    record("RegisterCallback(" + num(handle) + ", " + hex(code) + ", " +
           (callback ? "callback" : "null") + ", " + (context ? "port" : "null") + ")");
    int32_t r = int32_t(result("RegisterCallback", 0));
    if (r == 0) {
        std::lock_guard lock(registrationLock);
        registered = callback;
        registeredContext = context;
    }
    return r;
}

int32_t UnRegisterCallback(GW_HANDLE handle, uint32_t code, GW_CALLBACK callback, void* context) {
    record("UnRegisterCallback(" + num(handle) + ", " + hex(code) + ", " +
           (callback ? "callback" : "null") + ", " + (context ? "port" : "null") + ")");
    deliveries.stop();
    {
        std::lock_guard lock(registrationLock);
        registered = nullptr;
        registeredContext = nullptr;
    }
    return int32_t(result("UnRegisterCallback", 0));
}

int32_t SendReceive(GW_HANDLE handle, const uint8_t* data, uint32_t length, uint32_t* sent,
                    uint32_t flags, uint32_t timeoutMs, uint8_t* answer, uint32_t answerSize,
                    uint32_t* answerCount) {
    record("SendReceive(" + num(handle) + ", " + num(length) + ", " + num(flags) + ", " +
           num(timeoutMs) + ", " + (answer ? "buffer" : "null") + ", " + num(answerSize) + ")");
    uint32_t n = uint32_t(result("SendReceive.sent", length));
    if (n > length) n = length;
    took(data, n);
    *sent = n;
    if (answerCount) *answerCount = 0;
    return int32_t(result("SendReceive", 0));
}

int32_t Ioctl(GW_HANDLE handle, uint32_t code, const void* input, uint32_t inputSize, void* output,
              uint32_t outputSize, uint32_t* returned) {
    std::string in = "null";
    if (input && inputSize == 4) {
        uint32_t v;
        std::memcpy(&v, input, 4);
        in = "&" + num(v);
    }
    record("Ioctl(" + num(handle) + ", " + hex(code) + ", " + in + ", " + num(inputSize) + ", " +
           (output ? "buffer" : "null") + ", " + num(outputSize) + ", " +
           (returned ? "count" : "null") + ")");
    return int32_t(result("Ioctl", 0));
}

#pragma GCC visibility push(default)
extern "C" {
// Delivers the bytes `times` times (0: until unregistered) with the event
// from the library's own thread; returns at once.
void PlayerDeliver(uint32_t event, const void* data, size_t size, int times) {
    deliveries.start(
        [event](const std::string& bytes) {
            std::lock_guard lock(registrationLock);
            if (registered)
                registered(registeredContext, event, reinterpret_cast<const uint8_t*>(bytes.data()),
                           uint32_t(bytes.size()));
        },
        std::string(static_cast<const char*>(data), size), times);
}
void PlayerDelivered() {
    deliveries.stop();
}
}
#pragma GCC visibility pop
