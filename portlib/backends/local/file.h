// WFile: a port that writes into a file (any target that is neither a known
// port name nor an IPv4 address). claim creates or truncates the file.
#pragma once

#include "dova_base.h"
#include "os/os_file.h"

class WFile : public DovaBase {
public:
    // Room for a name of 259 characters and its terminating NUL.
    static constexpr size_t nameSize = 260;

    ~WFile() override;

    uint32_t getIFType() override;
    int32_t getAsyncMode() override;
    const char* getTypeName() override;

    // A name that does not fit is refused with DOVA_E_PARAM and remembered as
    // too long, so the later claim fails instead of writing a cut name.
    int32_t getName(char* name) override;
    int32_t setName(const char* name) override;

    int32_t claim(int32_t timeout) override;
    int32_t release(int32_t timeout) override;
    int32_t send(const void* data, uint32_t length, uint32_t* written, uint32_t tagA, uint32_t tagB,
                 uint32_t tagC) override;
    int32_t recv(void* buffer, uint32_t size, uint32_t* read, uint32_t reserved) override;

    intptr_t getHandle() override;
    int32_t isOpen() override;
    int32_t isReady() override;

private:
    os::File file_;
    char name_[nameSize] = {};
    bool nameTooLong_ = false;
};
