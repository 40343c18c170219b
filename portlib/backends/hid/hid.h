// WHid: the base of the ports that reach a receipt device through the HID
// class (hidraw): it finds the device whose vendor id, product id and
// top-level usage match the backend's fixed values, and records the
// device's input, output and feature report lengths (in bytes, the report
// id byte included, as Windows counts them).
//
// Search: the hidraw devices in ascending number order; a device matches
// when its HID_ID has the vendor and product (16-bit compare), its report
// descriptor parses and names the usage as its first top-level collection's
// (the usage, not the page), and it opens without sharing: a device that
// another port or process holds is skipped. The first match wins; the
// number and channel of the target play no part.
//
// Path: a path found by the search is kept for later claims of the same
// object (the report lengths with it). A path set with setName is opened
// without a search; when no search of this object found lengths, they are
// read from that node's own descriptor.
#pragma once

#include "backends/usb/usb.h"

class WHid : public WUsb {
public:
    // Copies the path of the first matching device to out (kPathSize
    // bytes), stores its report lengths and returns 1; else 0, out empty.
    // Traces "DOVA: WHid::devicePath(%04Xh:%04Xh:%04Xh)".
    int devicePath(char* out, uint16_t vendorId, uint16_t productId, uint16_t usage);

    uint32_t inputReportLength() const { return inputReportLength_; }
    uint32_t outputReportLength() const { return outputReportLength_; }
    uint32_t featureReportLength() const { return featureReportLength_; }

protected:
    // The steps of claim after its trace line and release(0): the path
    // (stored, else searched: 1013 when none matches) and the open (1014).
    int32_t openDevice(uint16_t vendorId, uint16_t productId, uint16_t usage);

private:
    // Report lengths of the node at path, read from the descriptor of the
    // hidraw device behind it; false when it is none.
    bool readLengthsOf(const char* path);

    uint32_t inputReportLength_ = 0;
    uint32_t outputReportLength_ = 0;
    uint32_t featureReportLength_ = 0;
};

// The IBM point-of-sale devices: vendor 04B3h, usage 3500h.
class WHidIbm : public WHid {
public:
    static constexpr uint16_t kVendorId = 0x04B3;
    static constexpr uint16_t kUsage = 0x3500;
};
