// WKplpt: a KP printer on the maker's parallel-port driver (type KPLPT),
// in direct mode: the parallel port of WLpt with its own claim, release and
// force. Its device is the [devices] key KPLPTn, else LPTn's device (the
// key LPTn, else /dev/lp<n-1>); the number must be 1 to 32 (else 1013 at
// claim, nothing opened).
//
// force(f) asked the maker's driver to send regardless of the printer's busy
// line. Linux's printer drivers (lp, usblp) have no such request, so it
// fails (9999) with a trace line, as a refused control does.
#pragma once

#include "backends/parallel/lpt.h"

#include <dova/dova.h>

class WKplpt : public WLpt {
public:
    WKplpt() = default;
    ~WKplpt() override;

    uint32_t getIFType() override { return DOVA_IF_KPLPT; }
    int32_t getAsyncMode() override { return 0; }
    const char* getTypeName() override { return "KPLPT"; }

    // 1013 bad port number, 1014 the device did not open.
    int32_t claim(int32_t timeout) override;
    int32_t release(int32_t timeout) override;
    int32_t force(int32_t on) override;

protected:
    std::string devicePath() const override;
};
