// WKpprnA: the worker-thread KP printer on the printer class (mode 1): the
// workers of WUsbprnA on WKpprn's node; the maker's requests stay on the
// caller's thread.
#pragma once

#include "backends/usb/kpprn.h"
#include "engine/wasync_port.h"

class WKpprnA : public WKpprn, public WAsync {
public:
    WKpprnA() : WAsync(static_cast<DovaBase&>(*this)) {}
    ~WKpprnA() override;

    int32_t getAsyncMode() override { return 1; }
    // As WKpprn, and 1016 / 1011 / 1015 when the engine cannot be set up.
    int32_t claim(int32_t timeout) override;
    int32_t release(int32_t timeout) override;

    DOVA_WASYNC_DATA_OPERATIONS
    DOVA_WASYNC_PURGE_OPERATIONS
    DOVA_WASYNC_QUEUE_TYPE_OPERATIONS
};
