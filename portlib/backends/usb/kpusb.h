// WKpusb: a KP receipt printer or CD customer display on the maker's own USB
// driver (types KPUSB, CDUSB, KPQS1, CDQS1), in direct mode.
//
// Linux has no maker's driver. The same devices are reached through what it
// has: their printer-class interfaces through usblp for the data, and the
// driver's device requests as the devices' own vendor requests through usbfs
// (the requests KPPRN tunnels through the printer class):
//
// - Discovery counts USB devices, not interfaces: the number picks the n-th
//   device with a usblp interface (in the order of its first lp number) that
//   passes the vendor and product filter. Channel bit 0 picks the interface:
//   clear, the printer (the device's first printer-class interface by
//   interface number); set, the customer display (its second one). A device
//   without a second interface has no display: CDUSBn skips it. Channel bit
//   1 (QS1) chose between the maker's two Windows driver builds; on Linux
//   both families are usblp devices, so it changes nothing. Windows appends
//   "\KP" or "\CD" to the driver's path; a node path takes no suffix, the
//   interface is the choice.
// - getDeviceStatus, setDeviceControl, getDriverWord and reset are the vendor
//   requests 1, 2, 0 and 0x7F. getDriverInfo asks the driver about itself:
//   with no driver there is nothing to ask, so it fails (9999) with a trace
//   line.
#pragma once

#include "backends/usb/usb.h"
#include "backends/usb/usb_printer_class.h"

#include <dova/dova.h>

#include <array>

// The KPUSB interface class on Linux for a channel (see above).
WUsbInterfaceClass kpUsbClass(int32_t channel);

class WKpusb : public WUsb {
public:
    WKpusb() = default;
    ~WKpusb() override;

    uint32_t getIFType() override { return DOVA_IF_KPUSB; }
    int32_t getAsyncMode() override { return 0; }
    const char* getTypeName() override { return "KPUSB"; }

    // 1013 no such device or interface (traced; the path stays empty), 1014
    // the node did not open.
    int32_t claim(int32_t timeout) override;
    // Traces WUsb's release line.
    int32_t release(int32_t timeout) override;

    // Vendor request 0x7F: 0, or 1105.
    int32_t reset() override;
    // on != 0: setDeviceControl(2)'s result. on == 0: as WKpprn (0 or 1103).
    int32_t force(int32_t on) override;

    // 9999 with a trace line: no maker's driver on Linux.
    int32_t getDriverInfo(uint32_t* value) override;
    // The maker's requests: 0, or 9999.
    int32_t getDriverWord(uint16_t* value) override;
    int32_t getDeviceStatus(uint16_t* status) override;
    int32_t setDeviceControl(uint16_t control) override;

    // The driver time-outs Windows hands the maker's driver at a worker
    // claim; no operation changes them.
    static constexpr std::array<uint32_t, 8> kDriverTimeouts{5, 50, 5, 2000, 0, 0, 0, 0};

protected:
    int32_t openDevice();
    void closeDevice();

    UsbPrinterControls controls_;
};
