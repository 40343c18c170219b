// Plays libNDX.so, the print-service library. Scripted keys: each
// function's name for its result (default 0), "NDX_Open.handle" (default
// 0x4E44), "NDX_Send.sent" (default: all offered). PlayerDeliver calls the
// registered callback from a thread of the library's own.
#include "callback_thread.h"
#include "player.h"

#pragma GCC visibility push(default)
#include "backends/printsvc/ndx_library.h"
#pragma GCC visibility pop

#include <mutex>

using namespace player;

namespace {

std::mutex registrationLock;
NDX_CALLBACK registered = nullptr;
void* registeredContext = nullptr;
CallbackThread deliveries;

void unregister() {
    deliveries.stop();
    std::lock_guard lock(registrationLock);
    registered = nullptr;
    registeredContext = nullptr;
}

} // namespace

int32_t NDX_Initialize(void) {
    record("NDX_Initialize()");
    return int32_t(result("NDX_Initialize", 0));
}

int32_t NDX_Terminate(void) {
    record("NDX_Terminate()");
    return int32_t(result("NDX_Terminate", 0));
}

int32_t NDX_Open(const char16_t* host, const char16_t* device, uint32_t reserved, uint32_t mode,
                 NDX_HANDLE* handle) {
    record("NDX_Open(" + str16(host) + ", " + str16(device) + ", " + num(reserved) + ", " +
           num(mode) + ")");
    int32_t r = int32_t(result("NDX_Open", 0));
    *handle = r == 0 ? NDX_HANDLE(result("NDX_Open.handle", 0x4E44)) : 0;
    return r;
}

int32_t NDX_Close(NDX_HANDLE handle) {
    record("NDX_Close(" + num(handle) + ")");
    unregister();
    return int32_t(result("NDX_Close", 0));
}

int32_t NDX_RegisterCallback(uint32_t reserved, NDX_HANDLE handle, NDX_CALLBACK callback,
                             void* context) {
    record("NDX_RegisterCallback(" + num(reserved) + ", " + num(handle) + ", " +
           (callback ? "callback" : "null") + ", " + (context ? "port" : "null") + ")");
    int32_t r = int32_t(result("NDX_RegisterCallback", 0));
    if (r == 0) {
        std::lock_guard lock(registrationLock);
        registered = callback;
        registeredContext = context;
    }
    return r;
}

int32_t NDX_UnRegisterCallback(uint32_t reserved, NDX_HANDLE handle) {
    record("NDX_UnRegisterCallback(" + num(reserved) + ", " + num(handle) + ")");
    unregister();
    return int32_t(result("NDX_UnRegisterCallback", 0));
}

int32_t NDX_Send(NDX_HANDLE handle, uint32_t reserved1, uint32_t reserved2, uint32_t timeoutMs,
                 uint32_t length, const uint8_t* data, uint32_t* sent) {
    record("NDX_Send(" + num(handle) + ", " + num(reserved1) + ", " + num(reserved2) + ", " +
           num(timeoutMs) + ", " + num(length) + ")");
    uint32_t n = uint32_t(result("NDX_Send.sent", length));
    if (n > length) n = length;
    took(data, n);
    *sent = n;
    return int32_t(result("NDX_Send", 0));
}

int32_t NDX_Lock(NDX_HANDLE handle, uint32_t timeoutMs) {
    record("NDX_Lock(" + num(handle) + ", " + num(timeoutMs) + ")");
    return int32_t(result("NDX_Lock", 0));
}

int32_t NDX_Unlock(NDX_HANDLE handle) {
    record("NDX_Unlock(" + num(handle) + ")");
    return int32_t(result("NDX_Unlock", 0));
}

int32_t NDX_ResetDevice(NDX_HANDLE handle, uint32_t how) {
    record("NDX_ResetDevice(" + num(handle) + ", " + num(how) + ")");
    return int32_t(result("NDX_ResetDevice", 0));
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
                registered(event, 7, 8, uint32_t(bytes.size()),
                           reinterpret_cast<const uint8_t*>(bytes.data()), registeredContext);
        },
        std::string(static_cast<const char*>(data), size), times);
}
// Waits until the deliveries started last have ended.
void PlayerDelivered() {
    deliveries.stop();
}
}
#pragma GCC visibility pop
