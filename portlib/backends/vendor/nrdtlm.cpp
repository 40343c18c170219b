#include "backends/vendor/nrdtlm.h"

#include "backends/vendor/vendor_library.h"
#include "trace.h"

#include <dova/dova.h>

namespace {

VendorLibrary& library() {
    static VendorLibrary nrdtlmif("nrDTLmIF.dll");
    return nrdtlmif;
}

// What every function answers when the library or the function is missing.
constexpr int32_t missing = -99;

} // namespace

WNrdtlm::~WNrdtlm() {
    release(0);
}

uint32_t WNrdtlm::getIFType() {
    return DOVA_IF_NRDTLM;
}

int32_t WNrdtlm::getAsyncMode() {
    return 0;
}

const char* WNrdtlm::getTypeName() {
    return "NRDTLM";
}

int32_t WNrdtlm::claim(int32_t /*timeout*/) {
    dovaTrace("DOVA: WNrdtlm::claim()\n");
    release(0);
    if (int32_t r = resolvePrinterName(); r != DOVA_OK) return r;
    event_ = os::Event::create();
    if (!event_.valid()) return DOVA_E_EVENT;
    NrdtlmifDevice device = -1;
    int32_t r = DOVA_VENDOR_CALL(library(), LIOpen, missing, 0, printerName(),
                                 int32_t(event_.waitHandle()), &device);
    dovaTrace("DOVA:  '%s'=%d\n", printerName(), r);
    if (r != 0) {
        event_.close();
        return DOVA_E_OPEN;
    }
    device_ = device;
    return DOVA_OK;
}

int32_t WNrdtlm::release(int32_t timeout) {
    if (device_ == -1) return DOVA_OK;
    dovaTrace("DOVA: WNrdtlm::release(%d)\n", timeout);
    int32_t result = waitSendDone(timeout);
    DOVA_VENDOR_CALL(library(), LIUnlock, missing, device_);
    DOVA_VENDOR_CALL(library(), LIClose, missing, device_);
    device_ = -1;
    // The library may raise the event until it has closed.
    event_.close();
    return result;
}

int32_t WNrdtlm::send(const void* data, uint32_t length, uint32_t* written, uint32_t, uint32_t,
                      uint32_t) {
    if (written) *written = 0;
    if (device_ == -1) return DOVA_E_WRITE;
    uint32_t count = 0;
    int32_t r = DOVA_VENDOR_CALL(library(), LIWrite, missing, device_, 0,
                                 static_cast<const uint8_t*>(data), length, &count);
    if (count > length) count = length;
    if (written) *written = count;
    dovaTrace("DOVA: LIWrite(%d, %d)=%d\n", int32_t(length), int32_t(count), r);
    return r == 0 ? DOVA_OK : DOVA_E_WRITE;
}

int32_t WNrdtlm::recv(void* buffer, uint32_t size, uint32_t* read, uint32_t) {
    if (read) *read = 0;
    if (device_ == -1) return DOVA_E_READ;
    uint32_t status = 0;
    uint32_t count = 0;
    int32_t r = DOVA_VENDOR_CALL(library(), LIRead, missing, device_, &status,
                                 static_cast<uint8_t*>(buffer), size, &count);
    if (read) *read = count < size ? count : size;
    return r == 0 ? DOVA_OK : DOVA_E_READ;
}

int32_t WNrdtlm::lock(int32_t /*timeout*/) {
    if (device_ == -1) return DOVA_E_LOCK;
    return DOVA_VENDOR_CALL(library(), LILock, missing, device_) == 0 ? DOVA_OK : DOVA_E_LOCK;
}

int32_t WNrdtlm::unlock(int32_t /*timeout*/) {
    if (device_ == -1) return DOVA_E_UNLOCK;
    return DOVA_VENDOR_CALL(library(), LIUnlock, missing, device_) == 0 ? DOVA_OK : DOVA_E_UNLOCK;
}

intptr_t WNrdtlm::getHandle() {
    return device_;
}

int32_t WNrdtlm::isOpen() {
    return device_ != -1 ? 1 : 0;
}

int32_t WNrdtlm::isReady() {
    return 1;
}
