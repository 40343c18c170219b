#include "backends/usb/kpprn.h"

#include "backends/usb/usbprn.h"
#include "os/os_clock.h"
#include "trace.h"

#include <cstring>

int32_t kpForceOff(const std::function<int32_t(uint16_t)>& setControl,
                   const std::function<int32_t(uint16_t*)>& getStatus) {
    for (int round = 0; round < kp::kForceRounds; ++round) {
        uint16_t status = 0;
        if (setControl(0) != DOVA_OK || getStatus(&status) != DOVA_OK) return DOVA_E_FORCE;
        if (!(status & kp::kStatusBusy)) return DOVA_OK;
        os::sleepMs(kp::kForcePauseMs);
    }
    return DOVA_E_FORCE;
}

WKpprn::~WKpprn() {
    WKpprn::release(0);
}

int32_t WKpprn::openPrinter() {
    if (int32_t r = claimNode(usbPrinterClass()); r != DOVA_OK) return r;
    controls_.attach(node_, path());
    return DOVA_OK;
}

void WKpprn::closePrinter() {
    controls_.detach();
    closeNode();
}

int32_t WKpprn::claim(int32_t) {
    dovaTrace("DOVA: WKpprn::claim()\n");
    release(0);
    return openPrinter();
}

int32_t WKpprn::release(int32_t timeout) {
    if (!node_.isOpen()) return DOVA_OK;
    dovaTrace("DOVA: WKpprn::release(%d)\n", timeout);
    int32_t result = waitSendDone(timeout);
    closePrinter();
    return result;
}

int32_t WKpprn::reset() {
    return controls_.vendorOut(kp::kReset, 0) ? DOVA_OK : DOVA_E_USBREQUEST;
}

int32_t WKpprn::force(int32_t on) {
    if (on != 0) return setDeviceControl(2) == DOVA_OK ? DOVA_OK : DOVA_E_FORCE;
    return kpForceOff([this](uint16_t c) { return setDeviceControl(c); },
                      [this](uint16_t* s) { return getDeviceStatus(s); });
}

int32_t WKpprn::getLptStatus(uint8_t* status) {
    return controls_.getLptStatus(node_, status);
}

int32_t WKpprn::get1284Id(char* buffer, uint32_t size) {
    return controls_.get1284Id(node_, buffer, size);
}

int32_t WKpprn::vendorSetCommand() {
    return controls_.vendorCommand(false);
}

int32_t WKpprn::vendorGetCommand() {
    return controls_.vendorCommand(true);
}

int32_t WKpprn::softReset() {
    return controls_.softReset(node_);
}

int32_t WKpprn::getDriverWord(uint16_t* value) {
    uint8_t word[2] = {};
    if (!value || !controls_.vendorIn(kp::kGetDriverWord, 0, word, sizeof word))
        return DOVA_E_USBREQUEST;
    std::memcpy(value, word, sizeof word);
    return DOVA_OK;
}

int32_t WKpprn::getDeviceStatus(uint16_t* status) {
    uint8_t answer[4] = {};
    if (!status || !controls_.vendorIn(kp::kGetDeviceStatus, 0, answer, sizeof answer))
        return DOVA_E_USBREQUEST;
    std::memcpy(status, answer, sizeof *status);
    return DOVA_OK;
}

int32_t WKpprn::setDeviceControl(uint16_t control) {
    return controls_.vendorOut(kp::kSetDeviceControl, control) ? DOVA_OK : DOVA_E_USBREQUEST;
}
