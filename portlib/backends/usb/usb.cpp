#include "backends/usb/usb.h"

#include "os/os_clock.h"
#include "os/os_error.h"
#include "os/os_wait.h"
#include "trace.h"

#include <dova/dova.h>

#include <cstring>

namespace {

void copyPath(char* out, const char* in) {
    std::strncpy(out, in, WUsb::kPathSize - 1);
    out[WUsb::kPathSize - 1] = '\0';
}

bool matches(const os::UsbInterface& i, uint16_t vendorId, uint16_t productId) {
    if (vendorId == 0) return true;
    if (i.vendorId != vendorId) return false;
    return productId == 0 || i.productId == productId;
}

} // namespace

WUsb::~WUsb() {
    WUsb::release(0);
}

int32_t WUsb::getName(char* name) {
    if (name) copyPath(name, path_);
    return DOVA_OK;
}

int32_t WUsb::setName(const char* name) {
    copyPath(path_, name ? name : "");
    return DOVA_OK;
}

int32_t WUsb::getNo(int32_t* no) {
    if (no) *no = no_;
    return DOVA_OK;
}

int32_t WUsb::setNo(int32_t no) {
    no_ = no;
    return DOVA_OK;
}

int32_t WUsb::getCh(int32_t* ch) {
    if (ch) *ch = ch_;
    return DOVA_OK;
}

int32_t WUsb::setCh(int32_t ch) {
    ch_ = ch;
    return DOVA_OK;
}

int32_t WUsb::setVendorId(uint16_t vendorId) {
    vendorId_ = vendorId;
    return DOVA_OK;
}

int32_t WUsb::setProductId(uint16_t productId) {
    productId_ = productId;
    return DOVA_OK;
}

int32_t WUsb::release(int32_t timeout) {
    if (!node_.isOpen()) return DOVA_OK;
    dovaTrace("DOVA: WUsb::release(%d)\n", timeout);
    int32_t result = waitSendDone(timeout);
    closeNode();
    return result;
}

int WUsb::devicePath(char* out, const WUsbInterfaceClass& interfaceClass, int32_t index) {
    dovaTrace("DOVA: WUsb::devicePath(%d)\n", index);
    out[0] = '\0';
    if (index < 0) return 0;
    int32_t count = 0;
    for (const os::UsbInterface& candidate : interfaceClass()) {
        if (!matches(candidate, vendorId_, productId_)) continue;
        if (count++ == index) {
            copyPath(out, candidate.node.c_str());
            return 1;
        }
    }
    return 0;
}

int32_t WUsb::resolvePath(const WUsbInterfaceClass& interfaceClass) {
    if (!pathEmpty()) return DOVA_OK;
    return devicePath(path_, interfaceClass, no_) ? DOVA_OK : DOVA_E_ADDRESS;
}

int32_t WUsb::claimNode(const WUsbInterfaceClass& interfaceClass) {
    if (int32_t r = resolvePath(interfaceClass); r != DOVA_OK) return r;
    return openNode();
}

int32_t WUsb::openNode() {
    node_ = os::DeviceNode::open(path_);
    dovaTrace("DOVA:  '%s'=%08X\n", path_, node_.isOpen() ? uint32_t(node_.handle()) : 0xFFFFFFFFu);
    return node_.isOpen() ? DOVA_OK : DOVA_E_OPEN;
}

int32_t WUsb::send(const void* data, uint32_t length, uint32_t* written, uint32_t, uint32_t,
                   uint32_t) {
    if (written) *written = 0;
    if (!node_.isOpen()) return DOVA_E_WRITE;
    const auto* p = static_cast<const uint8_t*>(data);
    uint32_t done = 0;
    uint32_t since = os::tickCount();
    while (done < length) {
        long n = node_.writeSome(p + done, length - done);
        if (n > 0) {
            done += uint32_t(n);
            since = os::tickCount();
            continue;
        }
        if (n < 0 && !os::errorWouldBlock(os::lastError())) {
            if (written) *written = done;
            return DOVA_E_WRITE;
        }
        const uint32_t stalled = os::tickCount() - since;
        if (stalled >= kDirectWriteMs) break;
        if (os::waitAny({{node_.handle(), os::Want::Write}}, kDirectWriteMs - stalled) ==
            os::kWaitFailed) {
            if (written) *written = done;
            return DOVA_E_WRITE;
        }
    }
    if (written) *written = done;
    return DOVA_OK;
}

int32_t WUsb::recv(void* buffer, uint32_t size, uint32_t* read, uint32_t) {
    if (read) *read = 0;
    if (!node_.isOpen()) return DOVA_E_READ;
    long n = node_.readSome(buffer, size);
    if (n < 0) return os::errorWouldBlock(os::lastError()) ? DOVA_OK : DOVA_E_READ;
    if (read) *read = uint32_t(n);
    return DOVA_OK;
}
