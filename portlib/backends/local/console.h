// WCon writes the data to the process's console; WDump prints one readable
// line per byte on standard output, numbered across all sends, for checking
// what a script produces. Neither has a closed state that matters.
#pragma once

#include "dova_base.h"

class WCon : public DovaBase {
public:
    ~WCon() override;

    uint32_t getIFType() override;
    int32_t getAsyncMode() override;
    const char* getTypeName() override;

    int32_t claim(int32_t timeout) override;
    int32_t release(int32_t timeout) override;
    // Fails with DOVA_E_WRITE when standard output is not a console.
    int32_t send(const void* data, uint32_t length, uint32_t* written, uint32_t tagA, uint32_t tagB,
                 uint32_t tagC) override;
    int32_t recv(void* buffer, uint32_t size, uint32_t* read, uint32_t reserved) override;

    intptr_t getHandle() override;
    int32_t isOpen() override;
    int32_t isReady() override;

protected:
    intptr_t handle_ = -1;
};

class WDump : public WCon {
public:
    const char* getTypeName() override;

    int32_t claim(int32_t timeout) override;
    int32_t release(int32_t timeout) override;
    int32_t send(const void* data, uint32_t length, uint32_t* written, uint32_t tagA, uint32_t tagB,
                 uint32_t tagC) override;
    int32_t recv(void* buffer, uint32_t size, uint32_t* read, uint32_t reserved) override;

private:
    uint32_t counter_ = 0; // never reset: numbers bytes for the life of the port
};
