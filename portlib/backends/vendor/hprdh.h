// WHPRDH: an HP printer through the maker's library, named by its spooler
// name (WSpoolerBase), direct. The library gives nothing back: recv reads
// nothing and succeeds.
#pragma once

#include "backends/spooler/spooler_base.h"
#include "backends/vendor/hprdh_library.h"

class WHPRDH : public WSpoolerBase {
public:
    ~WHPRDH() override;

    uint32_t getIFType() override;
    int32_t getAsyncMode() override;
    const char* getTypeName() override;

    int32_t claim(int32_t timeout) override;
    int32_t release(int32_t timeout) override;
    int32_t send(const void* data, uint32_t length, uint32_t* written, uint32_t tagA, uint32_t tagB,
                 uint32_t tagC) override;
    int32_t recv(void* buffer, uint32_t size, uint32_t* read, uint32_t reserved) override;

    intptr_t getHandle() override;
    int32_t isOpen() override;
    int32_t isReady() override;

private:
    HprdhPrinter printer_ = -1;
};
