#include "backends/usb/kpusb.h"

#include "backends/usb/kpprn.h"
#include "trace.h"

#include <algorithm>
#include <cstring>
#include <map>

WUsbInterfaceClass kpUsbClass(int32_t channel) {
    const bool display = (channel & 1) != 0;
    return [display] {
        // The devices in the order of their first interface, each with its
        // interfaces by interface number.
        std::vector<std::vector<os::UsbInterface>> devices;
        std::map<std::string, size_t> index;
        for (os::UsbInterface& i : os::usbPrinterInterfaces()) {
            auto [at, added] = index.emplace(i.usbDevice, devices.size());
            if (added) devices.emplace_back();
            devices[at->second].push_back(std::move(i));
        }
        std::vector<os::UsbInterface> candidates;
        const size_t wanted = display ? 1 : 0;
        for (auto& interfaces : devices) {
            std::stable_sort(interfaces.begin(), interfaces.end(),
                             [](const os::UsbInterface& a, const os::UsbInterface& b) {
                                 return a.interfaceNumber < b.interfaceNumber;
                             });
            if (interfaces.size() > wanted) candidates.push_back(interfaces[wanted]);
        }
        return candidates;
    };
}

WKpusb::~WKpusb() {
    WKpusb::release(0);
}

int32_t WKpusb::openDevice() {
    if (pathEmpty() && resolvePath(kpUsbClass(ch_)) != DOVA_OK) {
        dovaTrace("DOVA: WKpusb: no USB device %d with a %s interface\n", no_,
                  (ch_ & 1) ? "customer display (second printer-class)"
                            : "printer (first printer-class)");
        return DOVA_E_ADDRESS;
    }
    if (int32_t r = openNode(); r != DOVA_OK) return r;
    controls_.attach(node_, path());
    return DOVA_OK;
}

void WKpusb::closeDevice() {
    controls_.detach();
    closeNode();
}

int32_t WKpusb::claim(int32_t) {
    dovaTrace("DOVA: WKpusb::claim()\n");
    release(0);
    return openDevice();
}

int32_t WKpusb::release(int32_t timeout) {
    if (!node_.isOpen()) return DOVA_OK;
    dovaTrace("DOVA: WUsb::release(%d)\n", timeout);
    int32_t result = waitSendDone(timeout);
    closeDevice();
    return result;
}

int32_t WKpusb::reset() {
    return controls_.vendorOut(kp::kReset, 0) ? DOVA_OK : DOVA_E_RESET;
}

int32_t WKpusb::force(int32_t on) {
    if (on != 0) return setDeviceControl(2);
    return kpForceOff([this](uint16_t c) { return setDeviceControl(c); },
                      [this](uint16_t* s) { return getDeviceStatus(s); });
}

int32_t WKpusb::getDriverInfo(uint32_t*) {
    dovaTrace("DOVA: WKpusb::getDriverInfo: no maker's USB driver on Linux\n");
    return DOVA_E_SYSTEM;
}

int32_t WKpusb::getDriverWord(uint16_t* value) {
    uint8_t word[2] = {};
    if (!value || !controls_.vendorIn(kp::kGetDriverWord, 0, word, sizeof word))
        return DOVA_E_SYSTEM;
    std::memcpy(value, word, sizeof word);
    return DOVA_OK;
}

int32_t WKpusb::getDeviceStatus(uint16_t* status) {
    uint8_t answer[4] = {};
    if (!status || !controls_.vendorIn(kp::kGetDeviceStatus, 0, answer, sizeof answer))
        return DOVA_E_SYSTEM;
    std::memcpy(status, answer, sizeof *status);
    return DOVA_OK;
}

int32_t WKpusb::setDeviceControl(uint16_t control) {
    return controls_.vendorOut(kp::kSetDeviceControl, control) ? DOVA_OK : DOVA_E_SYSTEM;
}
