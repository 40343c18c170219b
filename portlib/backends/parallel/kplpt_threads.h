// WKplptA: the worker-thread KP parallel printer (mode 1): WLptA's workers
// and purges on WKplpt's device.
#pragma once

#include "backends/parallel/kplpt.h"
#include "engine/wasync_port.h"

class WKplptA : public WKplpt, public WAsync {
public:
    WKplptA() : WAsync(static_cast<DovaBase&>(*this)) {}
    ~WKplptA() override;

    int32_t getAsyncMode() override { return 1; }
    // As WKplpt, and 1016 / 1011 / 1015 when the engine cannot be set up.
    int32_t claim(int32_t timeout) override;
    int32_t release(int32_t timeout) override;

    DOVA_WASYNC_DATA_OPERATIONS
    DOVA_WASYNC_QUEUE_TYPE_OPERATIONS
    DOVA_WASYNC_SIZE_OPERATIONS
    // The driver's buffer first where it has one, then the queue.
    int32_t purgeSend() override;
    int32_t purgeRecv() override;
};
