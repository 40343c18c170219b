// WStarIO: a Star printer through the maker's port library, direct (the
// caller's thread makes every call). The port name is fixed: the library
// finds the printer itself.
#pragma once

#include "backends/vendor/stario_port_library.h"
#include "dova_base.h"

class WStarIO : public DovaBase {
public:
    ~WStarIO() override;

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
    // 1 only when the library says the printer is on line.
    int32_t isReady() override;
    int32_t reset() override;

private:
    StarIOPortHandle handle_ = nullptr;
};
