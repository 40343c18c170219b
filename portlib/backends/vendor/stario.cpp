#include "backends/vendor/stario.h"

#include "backends/vendor/vendor_library.h"
#include "trace.h"

#include <dova/dova.h>

namespace {

VendorLibrary& library() {
    static VendorLibrary starIO("StarIOPort.dll");
    return starIO;
}

constexpr const char* portName = "usbprn:Star TSP100 Cutter (TSP143)";

} // namespace

WStarIO::~WStarIO() {
    release(0);
}

uint32_t WStarIO::getIFType() {
    return DOVA_IF_STARIO;
}

int32_t WStarIO::getAsyncMode() {
    return 0;
}

const char* WStarIO::getTypeName() {
    return "StarIO";
}

int32_t WStarIO::claim(int32_t timeout) {
    dovaTrace("DOVA: WStarIO::claim()\n");
    release(0);
    handle_ = DOVA_VENDOR_CALL(library(), OpenPortA, nullptr, portName, "", uint32_t(timeout));
    return handle_ ? DOVA_OK : DOVA_E_OPEN;
}

int32_t WStarIO::release(int32_t timeout) {
    if (!handle_) return DOVA_OK;
    dovaTrace("DOVA: WStarIO::release(%d)\n", timeout);
    int32_t result = waitSendDone(timeout);
    DOVA_VENDOR_CALL(library(), ClosePort, 0, handle_);
    handle_ = nullptr;
    return result;
}

int32_t WStarIO::send(const void* data, uint32_t length, uint32_t* written, uint32_t, uint32_t,
                      uint32_t) {
    if (written) *written = 0;
    // A closed port has nothing the library could write to.
    if (!handle_) return DOVA_E_WRITE;
    uint32_t count = 0;
    if (!DOVA_VENDOR_CALL(library(), WritePort, 0, handle_, static_cast<const uint8_t*>(data),
                          length, &count))
        return DOVA_E_WRITE;
    if (written) *written = count;
    return DOVA_OK;
}

int32_t WStarIO::recv(void* buffer, uint32_t size, uint32_t* read, uint32_t) {
    if (read) *read = 0;
    if (!handle_) return DOVA_E_READ;
    uint32_t count = 0;
    if (!DOVA_VENDOR_CALL(library(), ReadPort, 0, handle_, static_cast<uint8_t*>(buffer), size,
                          &count))
        return DOVA_E_READ;
    if (read) *read = count;
    return DOVA_OK;
}

intptr_t WStarIO::getHandle() {
    return handle_ ? reinterpret_cast<intptr_t>(handle_) : -1;
}

int32_t WStarIO::isOpen() {
    return handle_ ? 1 : 0;
}

int32_t WStarIO::isReady() {
    if (!handle_) return 0;
    int32_t online = 0;
    if (!DOVA_VENDOR_CALL(library(), GetOnlineStatus, 0, handle_, &online)) return 0;
    return online ? 1 : 0;
}

int32_t WStarIO::reset() {
    if (!handle_) return DOVA_E_RESET;
    return DOVA_VENDOR_CALL(library(), ResetDevice, 0, handle_) ? DOVA_OK : DOVA_E_RESET;
}
