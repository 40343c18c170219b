// WHidIbmTI4: the IBM TI4 device (04B3h:4535h) through hidraw. send writes
// one output report on the caller's thread; a receive thread counts the
// input reports that arrive and tells the receive hook, without keeping
// their content; recv only asks for feature report 1 and delivers nothing.
// There are no queues and no send thread.
//
// Output report: id 2 for at most 250 data bytes, else id 1; the data
// length + 4 (16-bit, little-endian); 01h; three zero bytes; the data. It
// is written with the device's output report length, in a buffer of that
// size when the device's report is longer than 1024 bytes.
#pragma once

#include "backends/hid/hid.h"
#include "engine/wasync_port.h"

#include <thread>

class WHidIbmTI4 : public WHidIbm, public WAsync {
public:
    static constexpr uint16_t kProductId = 0x4535;
    // The most data one output report carries.
    static constexpr uint32_t kMaxData = 1016;
    static constexpr uint32_t kHeaderSize = 7;

    WHidIbmTI4() : WAsync(static_cast<DovaBase&>(*this)) {}
    ~WHidIbmTI4() override;

    uint32_t getIFType() override;
    int32_t getAsyncMode() override { return 1; }
    const char* getTypeName() override { return "IBMTI4"; }

    // 1013 / 1014 as WHid; 1016 when the events, 1015 when the receive
    // thread cannot be made.
    int32_t claim(int32_t timeout) override;
    // Stops the receive thread before the node closes; returns the drain's
    // result.
    int32_t release(int32_t timeout) override;
    // *written: the caller's bytes the report carried, never more than
    // offered. 1220 for more data than fits both 1016 bytes and the
    // device's output report; 1101 when the write fails or the device takes
    // nothing for kDirectWriteMs.
    int32_t send(const void* data, uint32_t length, uint32_t* written, uint32_t tagA, uint32_t tagB,
                 uint32_t tagC) override;
    // Requests feature report 1 and discards it: -1, nothing read.
    int32_t recv(void* buffer, uint32_t size, uint32_t* read, uint32_t reserved) override;

    DOVA_WASYNC_QUEUE_TYPE_OPERATIONS

private:
    // The receive thread's body.
    void procRecv();
};
