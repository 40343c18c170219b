#include "backends/vendor/ibmdll.h"

#include "backends/vendor/vendor_library.h"
#include "trace.h"

#include <dova/dova.h>

#include <cstring>

namespace {

constexpr uint16_t missing = wntsfprtMissing;
constexpr uint16_t station = wntsfprtStation;
constexpr uint32_t largestLength = 0xFFFF;

// PrtBeginTrans answers that leave the transaction usable.
bool transactionStarted(uint16_t r) {
    return r == 0 || r == 1288 || r == 1290 || r == 1299;
}

uint16_t word(const uint8_t* bytes, int index) {
    uint16_t w;
    std::memcpy(&w, bytes + 2 * index, sizeof w);
    return w;
}

} // namespace

VendorLibrary& wntsfprtLibrary() {
    static VendorLibrary ibm("WNTSFPRT.DLL");
    return ibm;
}

WIBMDLL::~WIBMDLL() {
    release(0);
}

uint32_t WIBMDLL::getIFType() {
    return DOVA_IF_IBMDLL;
}

int32_t WIBMDLL::getAsyncMode() {
    return 0;
}

const char* WIBMDLL::getTypeName() {
    return "IBMDLL";
}

int32_t WIBMDLL::getNo(int32_t* no) {
    if (!no) return DOVA_E_PARAM;
    *no = no_;
    return DOVA_OK;
}

int32_t WIBMDLL::setNo(int32_t no) {
    if (device_) return DOVA_E_SYSTEM;
    no_ = no;
    return DOVA_OK;
}

int32_t WIBMDLL::mapResult(uint16_t r) {
    lastResult_ = r;
    return r == 0 ? DOVA_OK : DOVA_E_SYSTEM + r;
}

int32_t WIBMDLL::claim(int32_t timeout) {
    dovaTrace("DOVA: WIBMDLL::claim(%d)\n", no_);
    release(0);
    return openDevice(timeout);
}

int32_t WIBMDLL::openDevice(int32_t timeout) {
    if (no_ <= 0) return DOVA_E_ADDRESS;
    WntsfprtDevice device = 0;
    uint16_t r = DOVA_VENDOR_CALL(wntsfprtLibrary(), PrtOpenDevice, missing, &device, uint16_t(no_),
                                  uint32_t(timeout));
    // A device of 0 would read as a closed port: no open either.
    if (r != 0 || device == 0) return DOVA_E_OPEN;
    device_ = device;
    return DOVA_OK;
}

int32_t WIBMDLL::release(int32_t timeout) {
    if (!device_) return DOVA_OK;
    dovaTrace("DOVA: WIBMDLL::release(%d)\n", timeout);
    int32_t result = waitSendDone(timeout);
    closeDevice();
    return result;
}

void WIBMDLL::closeDevice() {
    DOVA_VENDOR_CALL(wntsfprtLibrary(), PrtEndTrans, missing, device_);
    DOVA_VENDOR_CALL(wntsfprtLibrary(), PrtCloseDevice, missing, device_);
    device_ = 0;
}

int32_t WIBMDLL::send(const void* data, uint32_t length, uint32_t* written, uint32_t, uint32_t,
                      uint32_t) {
    if (written) *written = 0;
    if (!device_) return DOVA_E_WRITE;
    if (length > largestLength) return DOVA_E_SYSTEM;
    uint16_t count = uint16_t(length);
    uint16_t r = DOVA_VENDOR_CALL(wntsfprtLibrary(), PrtWriteDevice, missing, device_, station,
                                  static_cast<const uint8_t*>(data), &count);
    if (written) *written = count;
    dovaTrace("DOVA: PrtWriteDevice(%d, %d)=%d\n", int32_t(length), int32_t(count), int32_t(r));
    return mapResult(r);
}

int32_t WIBMDLL::recv(void* buffer, uint32_t size, uint32_t* read, uint32_t) {
    if (read) *read = 0;
    if (!device_) return DOVA_E_READ;
    // The library takes a 16-bit room: a larger buffer offers its low 16 bits.
    uint16_t count = uint16_t(size);
    uint16_t r = DOVA_VENDOR_CALL(wntsfprtLibrary(), PrtReadDevice, missing, device_, station,
                                  static_cast<uint8_t*>(buffer), &count);
    if (read) *read = count;
    dovaTrace("DOVA: PrtReadDevice(%d, %d)=%d\n", int32_t(size), int32_t(count), int32_t(r));
    return mapResult(r);
}

int32_t WIBMDLL::lock(int32_t /*timeout*/) {
    if (!device_) return DOVA_E_LOCK;
    uint16_t r = DOVA_VENDOR_CALL(wntsfprtLibrary(), PrtBeginTrans, missing, device_, uint16_t(0));
    if (!transactionStarted(r)) return mapResult(r);
    uint8_t values[8];
    std::memset(values, 0, sizeof values);
    DOVA_VENDOR_CALL(wntsfprtLibrary(), PrtGetEnvVars, missing, device_, station,
                     static_cast<void*>(values), uint16_t(0));
    dovaTrace("Error Ctrs = %#.4x, %#.4x, %#.4x, %#.4x\n", word(values, 0), word(values, 1),
              word(values, 2), word(values, 3));
    std::memset(values, 0, sizeof values);
    DOVA_VENDOR_CALL(wntsfprtLibrary(), PrtGetEnvVars, missing, device_, station,
                     static_cast<void*>(values), uint16_t(1));
    dovaTrace("POR Status = %#.4x\n", word(values, 0));
    std::memset(values, 0, sizeof values);
    DOVA_VENDOR_CALL(wntsfprtLibrary(), PrtGetEnvVars, missing, device_, station,
                     static_cast<void*>(values), uint16_t(3));
    dovaTrace("Printer Id = %#.2x\n\n", values[0]);
    return DOVA_OK;
}

int32_t WIBMDLL::unlock(int32_t /*timeout*/) {
    return DOVA_OK;
}

int32_t WIBMDLL::getEnvVars(void* buffer, uint32_t which) {
    if (!buffer) return DOVA_E_PARAM;
    return mapResult(DOVA_VENDOR_CALL(wntsfprtLibrary(), PrtGetEnvVars, missing, device_, station,
                                      buffer, uint16_t(which)));
}

int32_t WIBMDLL::deviceStatus(uint32_t which, void* buffer, void* size) {
    if (!buffer || !size) return DOVA_E_PARAM;
    return mapResult(DOVA_VENDOR_CALL(wntsfprtLibrary(), PrtDeviceStatus, missing, device_, station,
                                      uint16_t(which), buffer, static_cast<uint16_t*>(size)));
}

int32_t WIBMDLL::getEnvVar(uint32_t stationId, void* buffer) {
    if (!buffer) return DOVA_E_PARAM;
    // This form names no set: the library is given set 0 rather than a
    // value left over from some other call.
    return mapResult(DOVA_VENDOR_CALL(wntsfprtLibrary(), PrtGetEnvVars, missing, device_,
                                      uint16_t(stationId), buffer, uint16_t(0)));
}

int32_t WIBMDLL::getCodePage(uint32_t codePage) {
    return mapResult(
        DOVA_VENDOR_CALL(wntsfprtLibrary(), PrtGetCP, missing, device_, uint16_t(codePage)));
}

int32_t WIBMDLL::setCodePage(uint32_t codePage, uint32_t table) {
    return mapResult(DOVA_VENDOR_CALL(wntsfprtLibrary(), PrtSetCP, missing, device_,
                                      uint16_t(codePage), uint16_t(table)));
}

intptr_t WIBMDLL::getHandle() {
    return device_ ? intptr_t(device_) : -1;
}

int32_t WIBMDLL::isOpen() {
    return device_ ? 1 : 0;
}

int32_t WIBMDLL::isReady() {
    return 1;
}
