// WIBMDLLA: the IBM printer library with a send worker (mode 1). send only
// queues; the worker hands the queue to the library in blocks of at most one
// 16-bit length, and after a refused write prints the printer's device status
// to standard output for the operator. There is no receive worker: recv only
// drains a receive queue that nothing fills.
#pragma once

#include "backends/vendor/ibmdll.h"
#include "engine/wasync_port.h"

class WIBMDLLA : public WIBMDLL, public WAsync {
public:
    WIBMDLLA() : WAsync(static_cast<DovaBase&>(*this)) {}
    ~WIBMDLLA() override;

    int32_t getAsyncMode() override { return 1; }
    // As WIBMDLL, and 1016 / 1011 / 1015 when the engine cannot be set up.
    int32_t claim(int32_t timeout) override;
    // Drains, stops the worker, then ends the transaction and closes.
    int32_t release(int32_t timeout) override;

    DOVA_WASYNC_PORT_OPERATIONS
};
