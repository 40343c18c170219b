// WKzapi: a channel of the KZ library (job spool, remote and device control
// targets), direct. The channel name comes from setName; the library picks
// the device behind it.
#pragma once

#include "dova_base.h"

#include <cstddef>

class WKzapi : public DovaBase {
public:
    // Room of the channel name, its terminator included.
    static constexpr size_t nameSize = 260;

    ~WKzapi() override;

    uint32_t getIFType() override;
    int32_t getAsyncMode() override;
    const char* getTypeName() override;

    int32_t getName(char* name) override;
    // Refused while claimed (9999); a name that does not fit is refused (1030).
    int32_t setName(const char* name) override;

    int32_t claim(int32_t timeout) override;
    int32_t release(int32_t timeout) override;
    // A send the library takes only in part reports what it took, and 1101.
    int32_t send(const void* data, uint32_t length, uint32_t* written, uint32_t tagA, uint32_t tagB,
                 uint32_t tagC) override;
    int32_t recv(void* buffer, uint32_t size, uint32_t* read, uint32_t reserved) override;

    intptr_t getHandle() override;
    int32_t isOpen() override;
    int32_t isReady() override;

private:
    int32_t channel_ = -1;
    char name_[nameSize] = {};
};
