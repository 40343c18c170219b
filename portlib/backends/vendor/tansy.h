// WTansy: a printer behind the maker's driver port library (ULMPAX), direct.
// The library stands for a device file: the port opens "ULM_LPT1:" by its
// wide name and writes, in the printer's forced mode once force switched it
// on. The port number cannot be changed: every TANSY target is ULM_LPT1.
#pragma once

#include "backends/vendor/ulmpax_library.h"
#include "dova_base.h"

#include <atomic>

class WTansy : public DovaBase {
public:
    ~WTansy() override;

    uint32_t getIFType() override;
    int32_t getAsyncMode() override;
    const char* getTypeName() override;

    // Always 1; setNo is not offered.
    int32_t getNo(int32_t* no) override;

    int32_t claim(int32_t timeout) override;
    int32_t release(int32_t timeout) override;
    int32_t send(const void* data, uint32_t length, uint32_t* written, uint32_t tagA, uint32_t tagB,
                 uint32_t tagC) override;
    int32_t recv(void* buffer, uint32_t size, uint32_t* read, uint32_t reserved) override;
    int32_t reset() override;
    // Non-zero: later writes go through the library's forced write. Takes
    // effect at the next write, also for data already queued.
    int32_t force(int32_t on) override;
    // Whether writes go through the forced write; callable from any thread.
    bool forced() const { return forced_.load(std::memory_order_relaxed) != 0; }

    intptr_t getHandle() override;
    int32_t isOpen() override;
    int32_t isReady() override;

protected:
    SdHandle device() const { return device_; }
    // The steps of claim after its trace line and release(0): the number's
    // check (1013), the wide name and the library's open with `flags` (1014).
    int32_t openDevice(uint32_t flags);
    void closeDevice();

private:
    SdHandle device_ = SD_INVALID_HANDLE;
    int32_t no_ = 1;
    std::atomic<int32_t> forced_{0};
};

// The driver port library, loaded once per process.
class VendorLibrary;
VendorLibrary& ulmpaxLibrary();
