// WNrdtdh: a printer through the escape-driver library, named by its spooler
// name (WSpoolerBase), direct. Writes and reads wait at most 5 s in the
// library; lock and unlock are the library's, refused with 1999.
#pragma once

#include "backends/spooler/spooler_base.h"
#include "backends/vendor/nrdtescm_library.h"

class WNrdtdh : public WSpoolerBase {
public:
    ~WNrdtdh() override;

    uint32_t getIFType() override;
    int32_t getAsyncMode() override;
    const char* getTypeName() override;

    int32_t claim(int32_t timeout) override;
    int32_t release(int32_t timeout) override;
    int32_t send(const void* data, uint32_t length, uint32_t* written, uint32_t tagA, uint32_t tagB,
                 uint32_t tagC) override;
    int32_t recv(void* buffer, uint32_t size, uint32_t* read, uint32_t reserved) override;
    int32_t lock(int32_t timeout) override;
    int32_t unlock(int32_t timeout) override;

    intptr_t getHandle() override;
    int32_t isOpen() override;
    int32_t isReady() override;

private:
    NrdtescmDevice device_ = -1;
};
