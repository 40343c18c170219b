// WHidIbmM4: the IBM M4 device (04B3h:4533h) through hidraw, direct. It is
// found and opened, and nothing more: it neither sends nor receives.
#pragma once

#include "backends/hid/hid.h"

class WHidIbmM4 : public WHidIbm {
public:
    static constexpr uint16_t kProductId = 0x4533;

    ~WHidIbmM4() override;

    uint32_t getIFType() override;
    int32_t getAsyncMode() override { return 0; }
    const char* getTypeName() override { return "IBMM4"; }

    // 1013 when no device matches, 1014 when it does not open.
    int32_t claim(int32_t timeout) override;
    // Not supported: nothing written, -1.
    int32_t send(const void* data, uint32_t length, uint32_t* written, uint32_t tagA, uint32_t tagB,
                 uint32_t tagC) override;
    int32_t recv(void* buffer, uint32_t size, uint32_t* read, uint32_t reserved) override;
};
