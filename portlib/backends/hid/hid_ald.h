// WHidAld: the maker's ALD device (2A5Eh:0311h, usage FFFFh) through
// hidraw, direct: the caller's bytes are written to the node as they are
// (a whole report, its id first), and recv takes a report that arrived,
// never waiting for one: nothing pending is 0 bytes.
#pragma once

#include "backends/hid/hid.h"

class WHidAld : public WHid {
public:
    static constexpr uint16_t kVendorId = 0x2A5E;
    static constexpr uint16_t kProductId = 0x0311;
    static constexpr uint16_t kUsage = 0xFFFF;

    ~WHidAld() override;

    uint32_t getIFType() override;
    int32_t getAsyncMode() override { return 0; }
    const char* getTypeName() override { return "ALD"; }

    // 1013 when no device matches, 1014 when it does not open.
    int32_t claim(int32_t timeout) override;
    // Traces "DOVA: WHidAld::release(%d)"; returns the drain's result.
    int32_t release(int32_t timeout) override;
};
