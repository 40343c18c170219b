// USB devices as Linux shows them: printer-class interfaces of the usblp
// driver (found through sysfs, reached through their /dev/usb/lpN nodes), the
// printer-class requests usblp serves, and control transfers to a device
// through usbfs (<dev>/bus/usb/BBB/DDD) for the requests usblp does not
// pass on. Both roots come from os_roots.h, so a test lays out a tree of its
// own. Failing calls return false (or -1) with the cause in os::lastError().
#pragma once

#include "os/os_device.h"

#include <cstdint>
#include <string>
#include <vector>

namespace os {

// One device interface that discovery lists.
struct UsbInterface {
    std::string node;      // the device node to open (<dev>/usb/lpN)
    std::string name;      // the kernel's name for it (lpN)
    uint16_t vendorId = 0; // of the USB device the interface belongs to
    uint16_t productId = 0;
    int bus = 0; // busnum and devnum: the device's usbfs node
    int device = 0;
    int interfaceNumber = 0; // bInterfaceNumber, the wIndex of its requests
    std::string usbDevice;   // the USB device's sysfs folder: interfaces of one device share it
};

// The usblp interfaces (<sysfs>/class/usbmisc/lpN; other usbmisc entries
// such as hiddevN are not printers), in lp-number order (lp3 before lp12).
// An entry whose USB device cannot be read is left out.
std::vector<UsbInterface> usbPrinterInterfaces();
// The usblp interface behind an open node, found by the node's device
// number among the entries above (each has its "dev" file): also for a node
// opened by a path of the caller's own. False when none matches.
bool usbPrinterOfNode(DeviceNode& node, UsbInterface* found);

// The printer-class requests of the usblp driver.
// GET_PORT_STATUS: the printer's status byte (paper empty 0x20, selected
// 0x10, no error 0x08), as the class defines it.
bool usbPrinterPortStatus(DeviceNode& node, uint8_t* status);
// GET_DEVICE_ID: the IEEE 1284 id with its two length bytes (big-endian,
// counting themselves), at most size bytes of it. Returns the bytes copied.
long usbPrinterDeviceId(DeviceNode& node, void* buffer, uint32_t size);
// SOFT_RESET: the printer drops what it holds and starts afresh.
bool usbPrinterSoftReset(DeviceNode& node);

// A control transfer on endpoint 0 of a device, through its usbfs node.
struct UsbControl {
    uint8_t requestType = 0; // bmRequestType: direction, type, recipient
    uint8_t request = 0;
    uint16_t value = 0;
    uint16_t index = 0;
    void* data = nullptr; // length bytes out (host to device) or in
    uint16_t length = 0;
    uint32_t timeoutMs = 5000;
};
constexpr uint8_t kUsbVendorInterfaceOut = 0x41;
constexpr uint8_t kUsbVendorInterfaceIn = 0xC1;

// The usbfs node of one USB device, opened for control transfers while a
// port holds it: move-only, closed by its destructor. Opening does not claim
// any interface: vendor requests need none, and usblp keeps its own.
class UsbControlPipe {
public:
    UsbControlPipe() = default;
    UsbControlPipe(UsbControlPipe&& other) noexcept : fd_(other.fd_) { other.fd_ = -1; }
    UsbControlPipe& operator=(UsbControlPipe&& other) noexcept;
    UsbControlPipe(const UsbControlPipe&) = delete;
    UsbControlPipe& operator=(const UsbControlPipe&) = delete;
    ~UsbControlPipe();

    // <dev>/bus/usb/BBB/DDD of the device; empty on failure.
    static UsbControlPipe open(int bus, int device);
    static std::string pathOf(int bus, int device);
    bool isOpen() const { return fd_ >= 0; }
    // The bytes transferred, or -1.
    long transfer(const UsbControl& control);
    void close();

private:
    int fd_ = -1;
};

} // namespace os
