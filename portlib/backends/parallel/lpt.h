// WLpt: a parallel printer port (types LPT and PRN) in direct mode. Its
// device is a parport lp node (/dev/lpN) or a USB printer-class node
// (/dev/usb/lpN), named by the [devices] key LPTn. No line settings; the
// direct transfers are bounded by the port's time-outs.
#pragma once

#include "backends/serial/vcomm.h"

#include <dova/dova.h>

class WLpt : public WVcomm {
public:
    WLpt() = default;
    ~WLpt() override;

    uint32_t getIFType() override { return DOVA_IF_LPT; }
    int32_t getAsyncMode() override { return 0; }
    const char* getTypeName() override { return "LPT"; }

    // 1013 bad port number, 1014 the device did not open.
    int32_t claim(int32_t timeout) override;
    int32_t release(int32_t timeout) override;

    // 0 while the printer reports paper out, off line, or cannot tell.
    int32_t isReady() override;
    // Initialises the printer: 0, or 1105 when refused.
    int32_t reset() override;
    // RESETDEV (7) initialises the printer; the others as WVcomm.
    int32_t escapeCommFunction(uint32_t function) override;

    // The device controls: 0, or 9999 when the node has no such request.
    int32_t getDeviceIdSize(uint32_t* size) override;
    // The IEEE 1284 id, cut to size and ended with a NUL.
    int32_t getDeviceId(char* buffer, uint32_t size) override;
    int32_t get1284Mode(uint16_t* readMask, uint16_t* writeMask) override;
    // Paper empty 0x04, off line 0x08, busy 0x40, selected 0x80.
    int32_t getParStatus(uint8_t* status) override;
    // 1 initialises the printer; 0 asks nothing.
    int32_t setParInfo(uint8_t init) override;

protected:
    const char* baseName() const override { return "LPT"; }
    std::string defaultNode(int32_t no) const override;
    bool nodeCanWait() override;
};
