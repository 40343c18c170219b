// WLptA: the worker-thread parallel port (mode 1). The send worker writes
// the queue to the printer; the receive worker reads its back channel, and a
// read that fails (many printers have none) is simply tried again later.
#pragma once

#include "backends/parallel/lpt.h"
#include "engine/wasync_port.h"

class WLptA : public WLpt, public WAsync {
public:
    WLptA() : WAsync(static_cast<DovaBase&>(*this)) {}
    ~WLptA() override;

    int32_t getAsyncMode() override { return 1; }
    // As WLpt, and 1016 / 1011 / 1015 when the engine cannot be set up.
    int32_t claim(int32_t timeout) override;
    int32_t release(int32_t timeout) override;

    DOVA_WASYNC_DATA_OPERATIONS
    DOVA_WASYNC_QUEUE_TYPE_OPERATIONS
    DOVA_WASYNC_SIZE_OPERATIONS
    // The driver's buffer first where it has one, then the queue.
    int32_t purgeSend() override;
    int32_t purgeRecv() override;
};

// The transfer of a parallel printer's node, for the worker-thread ports
// built on WLpt: the parport lp driver is waited on by short pauses, and a
// failed read of the back channel is no failure of the device.
std::unique_ptr<DovaTransfer> dovaParallelTransfer(os::DeviceNode& node);
