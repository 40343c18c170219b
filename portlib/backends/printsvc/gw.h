// WGW: a printer reached through the printer maker's port-handler library,
// by a port name that says how the handler reaches it: a local pipe
// ("pipe://KP/ULMPRT001") or a TCP host ("tcp://10.0.0.5/CD/ULMPRT001").
// The port holds the handler's lock from claim to release. A send worker
// hands the queue over one SendReceive at a time; received data arrive
// through the handler's callback on its own thread.
//
// The handler's results are mapped: 0 → 0; 0x80000001, 0x80000003 → 1001;
// 0x80000006 → 1011; 0x80010001 → 1018; 0x80060000 → 1029; any other → 9999.
#pragma once

#include "backends/printsvc/gw_library.h"
#include "backends/printsvc/print_service_port.h"

class WGW : public WPrintServicePort {
public:
    ~WGW() override;

    uint32_t getIFType() override;
    const char* getTypeName() override;

    // 1013 without a device name or number, 1014 when the handler refuses
    // the open, 1106 the lock, 1029 the callback; 1016 / 1011 / 1015 when
    // the engine cannot be set up.
    int32_t claim(int32_t timeout) override;
    int32_t release(int32_t timeout) override;
    // Mapped (1106 / 1107 while closed).
    int32_t lock(int32_t timeout) override;
    int32_t unlock(int32_t timeout) override;
    // 9999 when refused or closed.
    int32_t reset() override;
    // 1103 when refused or closed.
    int32_t force(int32_t on) override;

    // Passed through to the handler with its handle first, mapped. The
    // slot's values are 32-bit: the buffers and the returned count can only
    // be absent (0), since no pointer of this platform fits; any other value
    // is refused with 1030 without calling the handler.
    int32_t ioctl(uint32_t code, uint32_t input, uint32_t inputSize, uint32_t output,
                  uint32_t outputSize, uint32_t returned) override;
    // callback is a GW_CALLBACK.
    int32_t registerCallback(uint32_t code, void* callback, void* context) override;
    int32_t unregisterCallback(uint32_t code, void* callback, void* context) override;

private:
    static int32_t callback(void* context, uint32_t event, const uint8_t* data, uint32_t length);
};
