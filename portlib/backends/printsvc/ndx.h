// WNDX: a printer reached through the printer maker's print-service library,
// by device name ("ULMPRT001"), on this computer or on the host whose
// address the target names. The library is initialised for each port object
// and terminated when it goes. A send worker hands the queue to the library
// one NDX_Send at a time; received data arrive through the library's
// callback on its own thread.
#pragma once

#include "backends/printsvc/ndx_library.h"
#include "backends/printsvc/print_service_port.h"

class WNDX : public WPrintServicePort {
public:
    WNDX();
    ~WNDX() override;

    uint32_t getIFType() override;
    const char* getTypeName() override;

    int32_t getPort(uint32_t* port) override;
    int32_t setPort(uint32_t port) override;

    // 1013 without a device name or number, 1014 when the library refuses
    // the open or the callback, 1016 / 1011 / 1015 when the engine cannot be
    // set up.
    int32_t claim(int32_t timeout) override;
    int32_t release(int32_t timeout) override;
    // 1106 / 1107 when refused (or closed).
    int32_t lock(int32_t timeout) override;
    int32_t unlock(int32_t timeout) override;
    // 1105 when refused or closed.
    int32_t reset() override;

private:
    static int32_t callback(uint32_t event, uint32_t value1, uint32_t value2, uint32_t length,
                            const uint8_t* data, void* context);

    uint32_t port_ = 2291;
};
