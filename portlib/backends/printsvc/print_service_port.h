// WPrintServicePort: what the ports that hand their data to one of the
// printer maker's printing services share (WNDX, WWTS, WGW): the device
// name, number, channel and IPv4 address they address the service with, and
// the worker-thread engine that sends their queue. Received data do not come
// from a worker: the service's library calls back on a thread of its own,
// and the data go into the receive queue there (storeReceived).
#pragma once

#include "dova_base.h"
#include "engine/wasync_port.h"

#include <cstdint>
#include <string>

class WPrintServicePort : public DovaBase, public WAsync {
public:
    WPrintServicePort() : WAsync(static_cast<DovaBase&>(*this)) {}

    int32_t getAsyncMode() override { return 1; }

    // The device name the service knows the printer by; empty until set or
    // until a claim makes it from the number.
    int32_t getName(char* name) override;
    // 9999 while open; 1030 for a name of 260 bytes or more.
    int32_t setName(const char* name) override;
    int32_t getNo(int32_t* no) override;
    // 9999 while open; 1013 outside 1 to 999. Empties the device name, so
    // the next claim makes it from the number.
    int32_t setNo(int32_t no) override;
    int32_t getCh(int32_t* ch) override;
    // 9999 while open.
    int32_t setCh(int32_t ch) override;
    int32_t getIP(uint32_t* address) override;
    int32_t setIP(uint32_t address) override;

    intptr_t getHandle() override { return open_ ? intptr_t(handle_) : -1; }
    int32_t isOpen() override { return open_ ? 1 : 0; }
    // The service queues the data itself.
    int32_t isReady() override { return 1; }

    DOVA_WASYNC_PORT_OPERATIONS

protected:
    // The dotted address, when one is set that can be used (not 0, not
    // 255.255.255.255, first byte neither 0 nor 255); else "".
    std::string usableAddress() const;
    // Delivered from the library's callback thread.
    uint32_t dataArrived(const void* data, uint32_t length);

    std::string name_;
    int32_t no_ = -1;
    int32_t ch_ = 0;
    uint32_t ip_ = 0;
    bool open_ = false;
    uint32_t handle_ = 0;
};
