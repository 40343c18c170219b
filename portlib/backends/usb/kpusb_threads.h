// WKpusbA: the worker-thread KP device on the maker's USB driver (mode 1).
// Besides the send and receive workers (the receiver pauses 1 ms after a
// read of nothing) a status worker reads the device status every 10 ms and,
// when it changed, raises the line event 0x20000 (status bit 0 set) or
// 0x10000 (clear).
//
// On Linux: the driver time-out block of the claim has no driver to take it
// (traced, the claim goes on); the request Windows makes after a failed
// write becomes a read of the printer's port status, traced with the
// failure, and the worker carries on.
#pragma once

#include "backends/usb/kpusb.h"
#include "engine/wasync_port.h"

class WKpusbA : public WKpusb, public WAsync {
public:
    WKpusbA() : WAsync(static_cast<DovaBase&>(*this)) {}
    ~WKpusbA() override;

    int32_t getAsyncMode() override { return 1; }
    // As WKpusb, and 1016 / 1011 / 1015 when the engine cannot be set up.
    int32_t claim(int32_t timeout) override;
    int32_t release(int32_t timeout) override;

    DOVA_WASYNC_DATA_OPERATIONS
    DOVA_WASYNC_PURGE_OPERATIONS
    DOVA_WASYNC_QUEUE_TYPE_OPERATIONS

    static constexpr uint32_t kStatusPeriodMs = 10;
    static constexpr uint32_t kIdleReadPauseMs = 1;

private:
    void checkStatus();
    void afterFailedWrite(int error);

    uint16_t lastStatus_ = 0; // the status worker's alone
};
