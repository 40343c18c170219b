// WIBMDLL: an IBM printer through the maker's library (WNTSFPRT), direct.
// Every library result is 16-bit; a failure r is reported as 9999 + r. lock
// starts a transaction and traces the printer's counters, status and id;
// release ends the transaction and closes the device.
#pragma once

#include "backends/vendor/wntsfprt_library.h"
#include "dova_base.h"

class WIBMDLL : public DovaBase {
public:
    ~WIBMDLL() override;

    uint32_t getIFType() override;
    int32_t getAsyncMode() override;
    const char* getTypeName() override;

    int32_t getNo(int32_t* no) override;
    // Refused while claimed (9999).
    int32_t setNo(int32_t no) override;

    int32_t claim(int32_t timeout) override;
    int32_t release(int32_t timeout) override;
    // More than one 16-bit length can carry fails with 9999 before any call.
    int32_t send(const void* data, uint32_t length, uint32_t* written, uint32_t tagA, uint32_t tagB,
                 uint32_t tagC) override;
    int32_t recv(void* buffer, uint32_t size, uint32_t* read, uint32_t reserved) override;
    // The transaction start: the printer's "busy" answers still count as
    // started, and the status values are read and traced either way.
    int32_t lock(int32_t timeout) override;
    // The transaction ends at release: nothing to do here.
    int32_t unlock(int32_t timeout) override;

    intptr_t getHandle() override;
    int32_t isOpen() override;
    int32_t isReady() override;

    // The library's other functions, each result r mapped as 0 for 0, else
    // 9999 + r. buffer receives the values of set `which`.
    int32_t getEnvVars(void* buffer, uint32_t which) override;
    // The device status of set `which` into buffer; size points at the
    // 16-bit room in, the bytes stored out.
    int32_t deviceStatus(uint32_t which, void* buffer, void* size) override;
    // The values of the given station, of set 0 (the error counters).
    int32_t getEnvVar(uint32_t station, void* buffer) override;
    int32_t getCodePage(uint32_t codePage) override;
    int32_t setCodePage(uint32_t codePage, uint32_t table) override;

protected:
    // 0 for 0, else 9999 + r; r is kept as the last result.
    int32_t mapResult(uint16_t r);
    WntsfprtDevice device() const { return device_; }
    // The steps of claim after its trace line and release(0): the number's
    // check (1013) and the library's open (1014).
    int32_t openDevice(int32_t timeout);
    // Ends the transaction and closes the device; the port is closed after.
    void closeDevice();

private:
    WntsfprtDevice device_ = 0;
    int32_t no_ = -1;
    uint16_t lastResult_ = 0;
};

// The library of the IBM ports, loaded once per process.
class VendorLibrary;
VendorLibrary& wntsfprtLibrary();
// What its functions answer when it or they are missing.
constexpr uint16_t wntsfprtMissing = 9999;
constexpr uint16_t wntsfprtStation = 1;
