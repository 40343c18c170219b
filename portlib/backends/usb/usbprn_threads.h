// WUsbprnA: the worker-thread USB printer (mode 1), what prnfeed opens for
// USBPRNn. The send worker writes the queue to the usblp node; the receive
// worker reads the printer's back channel (a printer without one leaves it
// waiting for the stop). An unplugged printer fails the transfer with
// "no such device": the workers stop using it and release reports the job
// unsent.
#pragma once

#include "backends/usb/usbprn.h"
#include "engine/wasync_port.h"

class WUsbprnA : public WUsbprn, public WAsync {
public:
    WUsbprnA() : WAsync(static_cast<DovaBase&>(*this)) {}
    ~WUsbprnA() override;

    int32_t getAsyncMode() override { return 1; }
    // As WUsbprn, and 1016 / 1011 / 1015 when the engine cannot be set up.
    int32_t claim(int32_t timeout) override;
    int32_t release(int32_t timeout) override;

    DOVA_WASYNC_PORT_OPERATIONS
};
