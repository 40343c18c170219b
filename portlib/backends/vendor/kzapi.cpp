#include "backends/vendor/kzapi.h"

#include "backends/vendor/kzapi_library.h"
#include "backends/vendor/vendor_library.h"
#include "trace.h"

#include <dova/dova.h>

#include <climits>
#include <cstring>

namespace {

VendorLibrary& library() {
    static VendorLibrary kzapi("KZAPI.DLL");
    return kzapi;
}

// What every function answers when the library or the function is missing.
constexpr int32_t missing = -13;
constexpr int32_t openParameter = 1;
constexpr int32_t waitAsLongAsTheLibrary = -1;

} // namespace

WKzapi::~WKzapi() {
    release(0);
}

uint32_t WKzapi::getIFType() {
    return DOVA_IF_KZAPI;
}

int32_t WKzapi::getAsyncMode() {
    return 0;
}

const char* WKzapi::getTypeName() {
    return "KZAPI";
}

int32_t WKzapi::getName(char* name) {
    if (!name) return DOVA_E_PARAM;
    std::memcpy(name, name_, std::strlen(name_) + 1);
    return DOVA_OK;
}

int32_t WKzapi::setName(const char* name) {
    if (!name) return DOVA_E_PARAM;
    if (channel_ != -1) return DOVA_E_SYSTEM;
    size_t length = std::strlen(name);
    if (length >= nameSize) return DOVA_E_PARAM;
    std::memcpy(name_, name, length + 1);
    return DOVA_OK;
}

int32_t WKzapi::claim(int32_t /*timeout*/) {
    dovaTrace("DOVA: WKzapi::claim(%s)\n", name_);
    release(0);
    if (DOVA_VENDOR_CALL(library(), KZInitialize, missing) != 0) return DOVA_E_SYSTEM;
    int32_t channel =
        DOVA_VENDOR_CALL(library(), KZOpenChannel, missing, openParameter, name_, openParameter);
    if (channel < 0) return DOVA_E_OPEN;
    channel_ = channel;
    return DOVA_OK;
}

int32_t WKzapi::release(int32_t timeout) {
    if (channel_ == -1) return DOVA_OK;
    dovaTrace("DOVA: WKzapi::release(%d)\n", timeout);
    int32_t result = waitSendDone(timeout);
    DOVA_VENDOR_CALL(library(), KZRelease, missing);
    channel_ = -1;
    return result;
}

int32_t WKzapi::send(const void* data, uint32_t length, uint32_t* written, uint32_t, uint32_t,
                     uint32_t) {
    if (written) *written = 0;
    if (channel_ == -1) return DOVA_E_WRITE;
    // The library counts in signed 32 bits: more is offered in a later call.
    const int32_t offered = length > uint32_t(INT32_MAX) ? INT32_MAX : int32_t(length);
    int32_t taken = DOVA_VENDOR_CALL(library(), KZSend, missing, channel_,
                                     static_cast<const uint8_t*>(data), offered);
    if (taken < 0) return DOVA_E_WRITE;
    // A library that claims more than it was offered took the offer, no more:
    // the caller must not step past its own data.
    if (written) *written = uint32_t(taken < offered ? taken : offered);
    dovaTrace("DOVA: KZSend(%d, %d)=%d\n", offered, taken, taken == offered ? 1 : 0);
    return taken == int32_t(length) ? DOVA_OK : DOVA_E_WRITE;
}

int32_t WKzapi::recv(void* buffer, uint32_t size, uint32_t* read, uint32_t) {
    if (read) *read = 0;
    if (channel_ == -1) return DOVA_E_READ;
    const int32_t room = size > uint32_t(INT32_MAX) ? INT32_MAX : int32_t(size);
    int32_t inOut = room;
    int32_t got = DOVA_VENDOR_CALL(library(), KZReceive, missing, channel_,
                                   static_cast<uint8_t*>(buffer), &inOut, waitAsLongAsTheLibrary);
    dovaTrace("DOVA: KZReceive(%d, %d)=%d\n", room, got, got >= 0 ? 1 : 0);
    if (got < 0) return DOVA_E_READ;
    // More than the room cannot have been stored: never report it.
    if (read) *read = uint32_t(got < room ? got : room);
    return DOVA_OK;
}

intptr_t WKzapi::getHandle() {
    return channel_;
}

int32_t WKzapi::isOpen() {
    return channel_ != -1 ? 1 : 0;
}

int32_t WKzapi::isReady() {
    return channel_ != -1 ? 1 : 0;
}
