// WLibusb: a USB printer through the libusb 0.1 library instead of a kernel
// printer driver, direct (every operation on the caller's thread). The port
// takes the first device in bus and device order that offers an interface
// setting of printer protocol 1 (unidirectional) or 2 (bidirectional),
// whatever its class and ids, and moves data by bulk transfers on the
// setting's bulk endpoints: writes wait up to 5000 ms, reads 500 ms.
//
// Constructing a port starts the library and gathers its bus and device
// lists (usb_init, usb_find_busses, usb_find_devices); every claim walks
// those lists again, so a claim sees the devices present then. The target's
// number and channel play no part: the number and channel operations keep
// their defaults.
//
// The library is loaded by its soname on the first use and kept. When it or
// a function the port calls is missing, claim fails with 1014 and a trace
// line that names what is missing; nothing is called through a gap.
#pragma once

#include "backends/libusb/libusb0_library.h"
#include "dova_base.h"

class VendorLibrary;

class WLibusb : public DovaBase {
public:
    WLibusb();
    ~WLibusb() override;

    uint32_t getIFType() override;
    int32_t getAsyncMode() override { return 0; }
    const char* getTypeName() override { return "LIBUSB"; }

    // Discovery, usb_open, configuration 1 and interface 0: 1014 when any
    // fails (a printer whose interface 0 the usblp driver holds is reached
    // through USBPRN instead, which the trace says).
    int32_t claim(int32_t timeout) override;
    // Releases interface 0 and closes; 0 whatever the drain gave.
    int32_t release(int32_t timeout) override;
    // One bulk write to the OUT endpoint: *written the bytes it took; 1101
    // when it fails or times out, or the port is closed.
    int32_t send(const void* data, uint32_t length, uint32_t* written, uint32_t tagA, uint32_t tagB,
                 uint32_t tagC) override;
    // One bulk read from the IN endpoint: a read that times out with
    // nothing is a failure (1102), as is a closed port.
    int32_t recv(void* buffer, uint32_t size, uint32_t* read, uint32_t reserved) override;

    // The library's handle of the open device, -1 while closed.
    intptr_t getHandle() override;
    int32_t isOpen() override { return handle_ ? 1 : 0; }
    int32_t isReady() override { return 1; }

    // The endpoints of the setting found by the last discovery; 0xFF for
    // one it did not have (on a fresh port).
    uint8_t outEndpoint() const { return outEndpoint_; }
    uint8_t inEndpoint() const { return inEndpoint_; }

    static constexpr int kWriteTimeoutMs = 5000;
    static constexpr int kReadTimeoutMs = 500;

protected:
    // The steps of claim after its trace line and release(0): discovery,
    // usb_open, configuration 1, interface 0. DOVA_OK or 1014 (closed then).
    int32_t openDevice();
    // usb_close and the handle cleared; the interface is released first
    // when asked.
    void closeDevice(bool releaseInterface);
    usb_dev_handle* handle() const { return handle_; }

private:
    // The first device with a printer-protocol setting, opened; its
    // endpoints stored. Null when none qualifies or the open failed.
    usb_dev_handle* discover();

    usb_dev_handle* handle_ = nullptr;
    uint8_t outEndpoint_ = 0xFF;
    uint8_t inEndpoint_ = 0xFF;
};

// libusb-0.1.so.4, loaded once per process.
VendorLibrary& libusb0Library();
// True when the library and every function the ports call are there;
// otherwise traces what is missing.
bool libusb0Complete();
