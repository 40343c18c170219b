// WIOMA: the I/O module with a send and a receive worker (mode 1). The
// workers call the module's write and read with a short time-out of the
// module's own, so a stop is seen within it.
#pragma once

#include "backends/vendor/iom.h"
#include "engine/wasync_port.h"

class WIOMA : public WIOM, public WAsync {
public:
    WIOMA() : WAsync(static_cast<DovaBase&>(*this)) {}
    ~WIOMA() override;

    int32_t getAsyncMode() override { return 1; }
    // As WIOM, but the line settings come after the open: refused, 1042;
    // and 1016 / 1011 / 1015 when the engine cannot be set up.
    int32_t claim(int32_t timeout) override;
    // Drains, stops the workers, then takes the module down.
    int32_t release(int32_t timeout) override;

    DOVA_WASYNC_PORT_OPERATIONS
};
