// WNrdtlm: a printer through the language-monitor library, named by its
// spooler name (WSpoolerBase), direct. The library is handed an event of the
// port's own at open, which lives until the library has closed.
#pragma once

#include "backends/spooler/spooler_base.h"
#include "backends/vendor/nrdtlmif_library.h"
#include "os/os_event.h"

class WNrdtlm : public WSpoolerBase {
public:
    ~WNrdtlm() override;

    uint32_t getIFType() override;
    int32_t getAsyncMode() override;
    const char* getTypeName() override;

    // As the other printer-name ports, and 1016 when no event can be made.
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
    NrdtlmifDevice device_ = -1;
    os::Event event_;
};
