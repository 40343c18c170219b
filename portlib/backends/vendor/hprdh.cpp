#include "backends/vendor/hprdh.h"

#include "backends/vendor/vendor_library.h"
#include "trace.h"

#include <dova/dova.h>

namespace {

VendorLibrary& library() {
    static VendorLibrary hprdh("HPRDH.dll");
    return hprdh;
}

// What every function answers when the library or the function is missing.
constexpr int32_t missing = 0x20000009;

} // namespace

WHPRDH::~WHPRDH() {
    release(0);
}

uint32_t WHPRDH::getIFType() {
    return DOVA_IF_HPRDH;
}

int32_t WHPRDH::getAsyncMode() {
    return 0;
}

const char* WHPRDH::getTypeName() {
    return "HPRDH";
}

int32_t WHPRDH::claim(int32_t timeout) {
    dovaTrace("DOVA: WHPRDH::claim()\n");
    release(0);
    if (int32_t r = resolvePrinterName(); r != DOVA_OK) return r;
    HprdhPrinter printer = -1;
    int32_t r = DOVA_VENDOR_CALL(library(), PrtOpenA, missing, &printer, printerName());
    dovaTrace("DOVA:  '%s'=%d\n", printerName(), r);
    if (r != 0) return DOVA_E_OPEN;
    printer_ = printer;
    if (DOVA_VENDOR_CALL(library(), PrtClaim, missing, printer_, uint32_t(timeout)) != 0) {
        release(0);
        return DOVA_E_OPEN;
    }
    return DOVA_OK;
}

int32_t WHPRDH::release(int32_t timeout) {
    if (printer_ == -1) return DOVA_OK;
    dovaTrace("DOVA: WHPRDH::release(%d)\n", timeout);
    int32_t result = waitSendDone(timeout);
    DOVA_VENDOR_CALL(library(), PrtRelease, missing, printer_);
    HprdhPrinter printer = printer_;
    DOVA_VENDOR_CALL(library(), PrtClose, missing, &printer);
    printer_ = -1;
    return result;
}

int32_t WHPRDH::send(const void* data, uint32_t length, uint32_t* written, uint32_t, uint32_t,
                     uint32_t) {
    if (written) *written = 0;
    if (printer_ == -1) return DOVA_E_WRITE;
    uint32_t count = 0;
    int32_t r = DOVA_VENDOR_CALL(library(), PrtWrite, missing, printer_,
                                 static_cast<const uint8_t*>(data), length, &count);
    dovaTrace("DOVA: WniPrtWrite(%d, %d)=%d\n", int32_t(length), int32_t(count), r);
    if (r != 0) return DOVA_E_WRITE;
    if (written) *written = count < length ? count : length;
    return DOVA_OK;
}

int32_t WHPRDH::recv(void*, uint32_t, uint32_t* read, uint32_t) {
    if (read) *read = 0;
    return DOVA_OK;
}

intptr_t WHPRDH::getHandle() {
    return printer_;
}

int32_t WHPRDH::isOpen() {
    return printer_ != -1 ? 1 : 0;
}

int32_t WHPRDH::isReady() {
    return 1;
}
