// WKpnetA: the worker-thread KP network port (mode 1): WKpnet's status
// channel with WNetA's send and receive workers.
#pragma once

#include "backends/net/net_kpnet.h"
#include "engine/wasync_port.h"

class WKpnetA : public WKpnet, public WAsync {
public:
    WKpnetA() : WAsync(static_cast<DovaBase&>(*this)) {}
    ~WKpnetA() override;

    int32_t getAsyncMode() override { return 1; }
    int32_t claim(int32_t timeout) override;
    int32_t release(int32_t timeout) override;

    DOVA_WASYNC_PORT_OPERATIONS
};
