// WNetE: the event-driven TCP port (mode 2). A send worker as in WNetA; the
// answers are read by a wait worker that sleeps until the socket reports
// data or the end of the connection.
#pragma once

#include "backends/net/net.h"
#include "engine/wasync_port.h"

class WNetE : public WNet, public WAsync {
public:
    WNetE() : WAsync(static_cast<DovaBase&>(*this)) {}
    ~WNetE() override;

    int32_t getAsyncMode() override { return 2; }
    int32_t claim(int32_t timeout) override;
    int32_t release(int32_t timeout) override;

    DOVA_WASYNC_PORT_OPERATIONS
};
