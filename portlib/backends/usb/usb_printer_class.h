// What the printer-class ports (USBPRN, KPPRN, KPUSB) add to their node on
// Linux: the printer-class requests of the usblp driver, and vendor requests
// as control transfers through the device's usbfs node, which usblp does not
// pass on.
//
// A vendor request goes to the printer interface (bmRequestType 0x41 out,
// 0xC1 in; wIndex its interface number), with the request code and the
// 16-bit value of Windows' vendor command block (code, value high byte, value
// low byte). The usbfs node is opened at the first vendor request and kept
// until detach; a port that never makes one never needs access to it.
//
// Threads: the vendor requests may come from the caller's thread and a
// status worker at once; they are serialised here.
#pragma once

#include "engine/transfer.h"
#include "os/os_device.h"
#include "os/os_usb.h"

#include <cstdint>
#include <memory>
#include <mutex>

class UsbPrinterControls {
public:
    // After the node opened: finds the USB device behind it (by its device
    // number in sysfs, so also for a path the caller set). One that is not
    // found is traced; only the vendor requests then fail.
    void attach(os::DeviceNode& node, const char* path);
    // Before the node closes: forgets the device, closes its usbfs node.
    void detach();

    // The class requests: 0, or 1040 when the driver refuses.
    // The printer's status byte (1 byte).
    int32_t getLptStatus(os::DeviceNode& node, uint8_t* status);
    // The IEEE 1284 id with its two length bytes, ended with a NUL within size.
    int32_t get1284Id(os::DeviceNode& node, char* buffer, uint32_t size);
    int32_t softReset(os::DeviceNode& node);
    // Windows' vendor commands without an input block carry no request
    // code: nothing can be sent, so they fail (1040) with a trace line.
    int32_t vendorCommand(bool get);

    // One vendor request; false (traced) when the device is not known, its
    // usbfs node does not open, or the transfer fails.
    bool vendorIn(uint8_t request, uint16_t value, void* data, uint16_t length);
    bool vendorOut(uint8_t request, uint16_t value);

private:
    bool transfer(os::UsbControl& control);

    std::mutex lock_;
    bool known_ = false;
    os::UsbInterface device_;
    os::UsbControlPipe pipe_;
    bool pipeFailed_ = false;
};

// The transfer of a usblp node: the descriptor's, except that a printer
// without a back channel (usblp refuses every read) leaves the reader waiting
// for the stop instead of asking again.
class UsbPrinterTransfer : public DovaTransfer {
public:
    explicit UsbPrinterTransfer(intptr_t handle);
    ~UsbPrinterTransfer() override;
    TransferResult write(const void* data, uint32_t length, const os::Event& stop) override;
    TransferResult read(void* buffer, uint32_t size, const os::Event& stop) override;
    bool zeroReadEndsStream() const override { return false; }
    bool failureIsPermanent(int error) const override;

private:
    std::unique_ptr<DovaTransfer> inner_;
};

// The KP and CD devices' own vendor requests (KPPRN tunnels them through the
// printer class; KPUSB sends them to the device on Linux the same way).
namespace kp {
constexpr uint8_t kGetDriverWord = 0x00;   // in, 2 bytes
constexpr uint8_t kGetDeviceStatus = 0x01; // in, 4 bytes: the first word is the status
constexpr uint8_t kSetDeviceControl = 0x02;
constexpr uint8_t kReset = 0x7F;
// Status bit 1: the device holds data back (force(0) waits for it to clear).
constexpr uint16_t kStatusBusy = 0x02;
// force: 1000 rounds of 50 ms.
constexpr int kForceRounds = 1000;
constexpr uint32_t kForcePauseMs = 50;
} // namespace kp
