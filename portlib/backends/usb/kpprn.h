// WKpprn: a KP receipt printer or CD customer display on the USB printer
// class (types KPPRN, CDPRN), in direct mode. Data goes through the usblp
// node as for USBPRN; the maker's own requests (driver word, device status,
// device control, reset), which Windows tunnels through the class driver's
// vendor commands, go to the device as vendor control transfers through
// usbfs (usb_printer_class.h). The channel (CDPRN: 1) changes nothing here:
// the display is found like a printer.
#pragma once

#include "backends/usb/usb.h"
#include "backends/usb/usb_printer_class.h"

#include <dova/dova.h>

#include <functional>

class WKpprn : public WUsb {
public:
    WKpprn() = default;
    ~WKpprn() override;

    uint32_t getIFType() override { return DOVA_IF_KPPRN; }
    int32_t getAsyncMode() override { return 0; }
    const char* getTypeName() override { return "KPPRN"; }

    // 1013 no such device (the path stays empty), 1014 the node did not open.
    int32_t claim(int32_t timeout) override;
    int32_t release(int32_t timeout) override;

    // Vendor request 0x7F: 0, or 1040.
    int32_t reset() override;
    // on != 0: device control 2 (1103 when refused). on == 0: device
    // control 0, then up to 1000 rounds of the status until its busy bit
    // (0x02) clears, 50 ms apart: 0, or 1103 when a request fails or the bit
    // stays set.
    int32_t force(int32_t on) override;

    // The printer-class requests, as WUsbprn: 0, or 1040.
    int32_t getLptStatus(uint8_t* status) override;
    int32_t get1284Id(char* buffer, uint32_t size) override;
    int32_t vendorSetCommand() override;
    int32_t vendorGetCommand() override;
    int32_t softReset() override;

    // The maker's requests: 0, or 1040. The driver word is the 2 bytes the
    // device sends, as they come; the status the first word of its 4 bytes.
    int32_t getDriverWord(uint16_t* value) override;
    int32_t getDeviceStatus(uint16_t* status) override;
    int32_t setDeviceControl(uint16_t control) override;

protected:
    int32_t openPrinter();
    void closePrinter();

    UsbPrinterControls controls_;
};

// force(0)'s wait for the busy bit, shared by KPPRN and KPUSB: setControl(0)
// and getStatus per round, each DOVA_OK or a failure.
int32_t kpForceOff(const std::function<int32_t(uint16_t)>& setControl,
                   const std::function<int32_t(uint16_t*)>& getStatus);
