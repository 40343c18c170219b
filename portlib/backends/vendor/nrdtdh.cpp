#include "backends/vendor/nrdtdh.h"

#include "backends/vendor/vendor_library.h"
#include "trace.h"

#include <dova/dova.h>

namespace {

VendorLibrary& library() {
    static VendorLibrary nrdtescm("nrDTescM.dll");
    return nrdtescm;
}

// The answer of a call that could not be made: one for a missing library,
// another for a function the library lacks.
int32_t missing() {
    return library().isLoaded() ? int32_t(0x8000FFFFu) : 1157;
}

constexpr uint32_t callTimeoutMs = 5000;
constexpr const char* driverName = "nrDTEscM.dll";

} // namespace

WNrdtdh::~WNrdtdh() {
    release(0);
}

uint32_t WNrdtdh::getIFType() {
    return DOVA_IF_NRDTDH;
}

int32_t WNrdtdh::getAsyncMode() {
    return 0;
}

const char* WNrdtdh::getTypeName() {
    return "NRDTDH";
}

int32_t WNrdtdh::claim(int32_t /*timeout*/) {
    release(0);
    if (int32_t r = resolvePrinterName(); r != DOVA_OK) return r;
    NrdtescmDevice device = -1;
    int32_t r =
        DOVA_VENDOR_CALL(library(), devOpenA, missing(), &device, printerName(), 0, driverName);
    dovaTrace("DOVA:  '%s'=%d\n", printerName(), r);
    if (r != 0) return DOVA_E_OPEN;
    device_ = device;
    return DOVA_OK;
}

int32_t WNrdtdh::release(int32_t timeout) {
    if (device_ == -1) return DOVA_OK;
    dovaTrace("DOVA: WNrdtdh::release(%d)\n", timeout);
    int32_t result = waitSendDone(timeout);
    DOVA_VENDOR_CALL(library(), devUnlock, missing(), device_);
    DOVA_VENDOR_CALL(library(), devClose, missing(), device_);
    device_ = -1;
    return result;
}

int32_t WNrdtdh::send(const void* data, uint32_t length, uint32_t* written, uint32_t, uint32_t,
                      uint32_t) {
    if (written) *written = 0;
    if (device_ == -1) return DOVA_E_WRITE;
    uint32_t count = 0;
    if (DOVA_VENDOR_CALL(library(), devWrite, missing(), device_, callTimeoutMs,
                         static_cast<const uint8_t*>(data), length, &count) != 0)
        return DOVA_E_WRITE;
    if (written) *written = count < length ? count : length;
    return DOVA_OK;
}

int32_t WNrdtdh::recv(void* buffer, uint32_t size, uint32_t* read, uint32_t) {
    if (read) *read = 0;
    if (device_ == -1) return DOVA_E_READ;
    uint32_t status = 0;
    uint32_t count = 0;
    if (DOVA_VENDOR_CALL(library(), devRead, missing(), device_, callTimeoutMs, &status,
                         static_cast<uint8_t*>(buffer), size, &count) != 0)
        return DOVA_E_READ;
    if (read) *read = count < size ? count : size;
    return DOVA_OK;
}

int32_t WNrdtdh::lock(int32_t timeout) {
    if (device_ == -1) return DOVA_E_ESCAPE;
    return DOVA_VENDOR_CALL(library(), devLock, missing(), device_, uint32_t(timeout)) == 0
               ? DOVA_OK
               : DOVA_E_ESCAPE;
}

int32_t WNrdtdh::unlock(int32_t /*timeout*/) {
    if (device_ == -1) return DOVA_E_ESCAPE;
    return DOVA_VENDOR_CALL(library(), devUnlock, missing(), device_) == 0 ? DOVA_OK
                                                                           : DOVA_E_ESCAPE;
}

intptr_t WNrdtdh::getHandle() {
    return device_;
}

int32_t WNrdtdh::isOpen() {
    return device_ != -1 ? 1 : 0;
}

int32_t WNrdtdh::isReady() {
    return 1;
}
