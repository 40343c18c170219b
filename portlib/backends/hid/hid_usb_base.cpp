#include "backends/hid/hid_usb_base.h"

#include "os/os_error.h"
#include "os/os_wait.h"
#include "trace.h"

#include <dova/dova.h>

#include <cstring>

WHidUsbBase::~WHidUsbBase() = default;

int32_t WHidUsbBase::getName(char* name) {
    if (!name) return DOVA_E_PARAM;
    std::memcpy(name, path_, kPathSize);
    return DOVA_OK;
}

int32_t WHidUsbBase::setName(const char* name) {
    std::memset(path_, 0, kPathSize);
    if (name) std::strncpy(path_, name, kPathSize - 1);
    return DOVA_OK;
}

int32_t WHidUsbBase::getNo(int32_t* no) {
    if (!no) return DOVA_E_PARAM;
    *no = no_;
    return DOVA_OK;
}

int32_t WHidUsbBase::setNo(int32_t no) {
    no_ = no;
    return DOVA_OK;
}

int32_t WHidUsbBase::getCh(int32_t* ch) {
    if (!ch) return DOVA_E_PARAM;
    *ch = ch_;
    return DOVA_OK;
}

int32_t WHidUsbBase::setCh(int32_t ch) {
    ch_ = ch;
    return DOVA_OK;
}

int32_t WHidUsbBase::setVendorId(uint16_t vendorId) {
    vendorId_ = vendorId;
    return DOVA_OK;
}

int32_t WHidUsbBase::setProductId(uint16_t productId) {
    productId_ = productId;
    return DOVA_OK;
}

int32_t WHidUsbBase::release(int32_t timeout) {
    if (!node_.isOpen()) return DOVA_OK;
    dovaTrace("DOVA: WUsb::release(%d)\n", timeout);
    int32_t kept = waitSendDone(timeout);
    closeNode();
    return kept;
}

int32_t WHidUsbBase::send(const void* data, uint32_t length, uint32_t* written, uint32_t, uint32_t,
                          uint32_t) {
    if (written) *written = 0;
    if (!node_.isOpen()) return DOVA_E_WRITE;
    const auto* bytes = static_cast<const uint8_t*>(data);
    uint32_t done = 0;
    while (done < length) {
        long r = node_.writeSome(bytes + done, length - done);
        if (r > 0) {
            done += uint32_t(r);
            if (written) *written = done;
            continue;
        }
        if (r < 0 && !os::errorWouldBlock(os::lastError())) return DOVA_E_WRITE;
        int w = os::waitAny({{node_.handle(), os::Want::Write}}, kDirectWriteMs);
        if (w == os::kWaitTimeout || w == os::kWaitFailed) return DOVA_E_WRITE;
    }
    return DOVA_OK;
}

int32_t WHidUsbBase::recv(void* buffer, uint32_t size, uint32_t* read, uint32_t) {
    if (read) *read = 0;
    if (!node_.isOpen()) return DOVA_E_READ;
    long r = node_.readSome(buffer, size);
    if (r < 0) return os::errorWouldBlock(os::lastError()) ? DOVA_OK : DOVA_E_READ;
    if (read) *read = uint32_t(r);
    return DOVA_OK;
}
