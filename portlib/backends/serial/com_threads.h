// WComA: the worker-thread serial port (mode 1, the one the send tool uses).
// send and recv only touch the queues; the send worker writes the line and
// holds its output while DSR is low under DTR/DSR flow, the receive worker
// reads the printer's answers.
#pragma once

#include "backends/serial/com.h"
#include "engine/wasync_port.h"

class WComA : public WCom, public WAsync {
public:
    WComA() : WAsync(static_cast<DovaBase&>(*this)) {}
    ~WComA() override;

    int32_t getAsyncMode() override { return 1; }
    // As WCom, and 1016 / 1011 / 1015 when the engine cannot be set up.
    int32_t claim(int32_t timeout) override;
    // Drains the queue and then the driver while they keep moving, drops
    // DTR and RTS, stops the workers and closes; what could not leave is
    // discarded, so the close does not wait on a stalled line.
    int32_t release(int32_t timeout) override;

    DOVA_WASYNC_DATA_OPERATIONS
    DOVA_WASYNC_QUEUE_TYPE_OPERATIONS
    DOVA_WASYNC_SIZE_OPERATIONS
    // The driver's buffer first (its result does not count), then the queue.
    int32_t purgeSend() override;
    int32_t purgeRecv() override;

protected:
    bool sendHeld() override { return dsrHolds(); }
    // The engine steps of claim after the line was opened and set up, with
    // the wait worker's body (null: a receive worker). DOVA_OK or the code.
    int32_t startEngine(const char* className, std::function<void()> waitBody);
    // The release of both queued serial ports, after its trace line.
    int32_t releaseLine(int32_t timeout);
};
