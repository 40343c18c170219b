// WNetA: the worker-thread TCP port (mode 1, the one the send tool uses).
// send and recv only touch the queues; the send worker writes the send queue
// to the socket in blocks and the receive worker reads the printer's answers.
#pragma once

#include "backends/net/net.h"
#include "engine/wasync_port.h"

class WNetA : public WNet, public WAsync {
public:
    WNetA() : WAsync(static_cast<DovaBase&>(*this)) {}
    ~WNetA() override;

    int32_t getAsyncMode() override { return 1; }
    // As WNet, and 1016 / 1011 / 1015 when the engine cannot be set up.
    int32_t claim(int32_t timeout) override;
    // Drains (at once 1 when the connection was lost), closes gracefully only
    // after a complete drain, stops the workers and closes.
    int32_t release(int32_t timeout) override;

    DOVA_WASYNC_PORT_OPERATIONS
};
