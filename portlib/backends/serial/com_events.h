// WComE: the event-driven serial port (mode 2). A send worker as in WComA,
// and a wait worker that reads what arrives and watches the modem lines,
// passing CTS and DSR changes, breaks and receive errors to the line hook.
#pragma once

#include "backends/serial/com_threads.h"

class WComE : public WComA {
public:
    WComE() = default;
    ~WComE() override;

    int32_t getAsyncMode() override { return 2; }
    int32_t claim(int32_t timeout) override;
    int32_t release(int32_t timeout) override;

private:
    void procWait();
};
