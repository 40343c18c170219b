// WLibusbA: the libusb printer with the worker threads (mode 1). send only
// queues and recv only takes what the receive worker stored; the send
// worker hands the queue to usb_bulk_write in blocks, and the receive worker
// reads the IN endpoint with usb_bulk_read. Both calls bound their own wait
// (5000 ms and 500 ms), so release ends the workers within those times.
#pragma once

#include "backends/libusb/libusb.h"
#include "engine/wasync_port.h"

class WLibusbA : public WLibusb, public WAsync {
public:
    WLibusbA() : WAsync(static_cast<DovaBase&>(*this)) {}
    ~WLibusbA() override;

    int32_t getAsyncMode() override { return 1; }
    // As WLibusb, then 1016 / 1011 / 1015 when the engine cannot be set up.
    int32_t claim(int32_t timeout) override;
    // Drains, stops the workers and closes the device (interface 0 is left
    // to the close); returns the drain's result.
    int32_t release(int32_t timeout) override;

    DOVA_WASYNC_PORT_OPERATIONS
};
