// WTansyA: the driver port library with a send and a receive worker (mode
// 1). The device is opened for overlapped transfers: each worker hands the
// library its own record and event and waits on that event together with the
// stop event, so release ends a transfer the printer never finishes.
#pragma once

#include "backends/vendor/tansy.h"
#include "engine/wasync_port.h"
#include "os/os_event.h"

class WTansyA : public WTansy, public WAsync {
public:
    WTansyA() : WAsync(static_cast<DovaBase&>(*this)) {}
    ~WTansyA() override;

    int32_t getAsyncMode() override { return 1; }
    // As WTansy, and 1016 / 1011 / 1015 when the engine cannot be set up.
    int32_t claim(int32_t timeout) override;
    // Drains, stops the workers, then closes the device and the I/O events.
    int32_t release(int32_t timeout) override;

    DOVA_WASYNC_PORT_OPERATIONS

private:
    // The library may write a pending transfer's record until the device is
    // closed, so the records live as long as the port, not the workers.
    SdOverlapped writeRecord_{};
    SdOverlapped readRecord_{};
    os::Event writeDone_;
    os::Event readDone_;
};
