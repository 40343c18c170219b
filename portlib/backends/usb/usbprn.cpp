#include "backends/usb/usbprn.h"

#include "trace.h"

WUsbInterfaceClass usbPrinterClass() {
    return [] { return os::usbPrinterInterfaces(); };
}

WUsbprn::~WUsbprn() {
    WUsbprn::release(0);
}

int32_t WUsbprn::openPrinter() {
    if (int32_t r = claimNode(usbPrinterClass()); r != DOVA_OK) return r;
    controls_.attach(node_, path());
    return DOVA_OK;
}

void WUsbprn::closePrinter() {
    controls_.detach();
    closeNode();
}

int32_t WUsbprn::claim(int32_t) {
    dovaTrace("DOVA: WUsbprn::claim()\n");
    release(0);
    return openPrinter();
}

int32_t WUsbprn::release(int32_t timeout) {
    if (!node_.isOpen()) return DOVA_OK;
    dovaTrace("DOVA: WUsbprn::release(%d)\n", timeout);
    int32_t result = waitSendDone(timeout);
    closePrinter();
    return result;
}

int32_t WUsbprn::getLptStatus(uint8_t* status) {
    return controls_.getLptStatus(node_, status);
}

int32_t WUsbprn::get1284Id(char* buffer, uint32_t size) {
    return controls_.get1284Id(node_, buffer, size);
}

int32_t WUsbprn::vendorSetCommand() {
    return controls_.vendorCommand(false);
}

int32_t WUsbprn::vendorGetCommand() {
    return controls_.vendorCommand(true);
}

int32_t WUsbprn::softReset() {
    return controls_.softReset(node_);
}
