// WUsbprn: any printer on the USB printer class (type USBPRN), in direct
// mode. Linux's usblp driver serves the class: the port opens the node
// /dev/usb/lpN that discovery finds (os::usbPrinterInterfaces: lp-number order,
// the vendor and product filter of WUsb), or the path set with setName.
#pragma once

#include "backends/usb/usb.h"
#include "backends/usb/usb_printer_class.h"

#include <dova/dova.h>

// The usbprint interface class on Linux: the usblp interfaces.
WUsbInterfaceClass usbPrinterClass();

class WUsbprn : public WUsb {
public:
    WUsbprn() = default;
    ~WUsbprn() override;

    uint32_t getIFType() override { return DOVA_IF_USBPRN; }
    int32_t getAsyncMode() override { return 0; }
    const char* getTypeName() override { return "USBPRN"; }

    // 1013 no such printer (the path stays empty), 1014 the node did not open.
    int32_t claim(int32_t timeout) override;
    int32_t release(int32_t timeout) override;

    // The printer-class requests: 0, or 1040.
    int32_t getLptStatus(uint8_t* status) override;
    int32_t get1284Id(char* buffer, uint32_t size) override;
    int32_t vendorSetCommand() override;
    int32_t vendorGetCommand() override;
    int32_t softReset() override;

protected:
    // The path and open steps of every printer-class claim, after its trace
    // line and release(0): DOVA_OK, 1013 or 1014.
    int32_t openPrinter();
    void closePrinter();

    UsbPrinterControls controls_;
};
