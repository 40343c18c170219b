// WKpnetE: the event-driven KP network port (mode 2): WKpnet's status
// channel with WNetE's send worker and wait worker.
#pragma once

#include "backends/net/net_kpnet.h"
#include "engine/wasync_port.h"

class WKpnetE : public WKpnet, public WAsync {
public:
    WKpnetE() : WAsync(static_cast<DovaBase&>(*this)) {}
    ~WKpnetE() override;

    int32_t getAsyncMode() override { return 2; }
    int32_t claim(int32_t timeout) override;
    int32_t release(int32_t timeout) override;

    DOVA_WASYNC_PORT_OPERATIONS
};
