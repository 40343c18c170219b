// DovaTransfer: how the engine's workers move bytes between a port's queues
// and its device. The engine owns the loops, the queues and the draining; a
// backend family supplies one transfer for its kind of device (a descriptor,
// a library's bulk call) and with it the rules that differ per device.
//
// Every call is bounded: it returns once it moved bytes, failed, or saw the
// stop event raised. A transfer that can wait on the stop event (a
// descriptor) returns at once when it is raised; one that cannot (a library
// call with its own time-out) returns within that time-out, which should
// therefore be short (the engine calls it again while not stopping). That
// bound is what makes joining the workers at release bounded too.
#pragma once

#include "os/os_event.h"

#include <cstdint>

enum class TransferStatus {
    Done,    // count bytes moved (a read of 0: see zeroReadEndsStream)
    Stopped, // the stop event ended the wait; nothing moved
    Failed,  // error holds the system's or library's code
};

struct TransferResult {
    TransferStatus status = TransferStatus::Failed;
    uint32_t count = 0;
    int error = 0;

    static TransferResult done(uint32_t n) { return {TransferStatus::Done, n, 0}; }
    static TransferResult stopped() { return {TransferStatus::Stopped, 0, 0}; }
    static TransferResult failed(int error) { return {TransferStatus::Failed, 0, error}; }
};

class DovaTransfer {
public:
    DovaTransfer() = default;
    DovaTransfer(const DovaTransfer&) = delete;
    DovaTransfer& operator=(const DovaTransfer&) = delete;
    virtual ~DovaTransfer() = default;

    // Called by the send worker only: writes some of the bytes, waiting while
    // the device takes none.
    virtual TransferResult write(const void* data, uint32_t length, const os::Event& stop) = 0;
    // Called by the receive or wait worker only: reads what has arrived,
    // waiting while nothing has.
    virtual TransferResult read(void* buffer, uint32_t size, const os::Event& stop) = 0;

    // What a completed read of 0 bytes means: the peer ended the stream (a
    // socket: nothing more will come) or only that nothing arrived (a tty or
    // a USB node, where the worker pauses briefly and reads again).
    virtual bool zeroReadEndsStream() const = 0;
    // A failure that retrying cannot mend: the connection is gone, the device
    // was unplugged. The worker stops using the device and release reports
    // the job as not delivered; any other failure is retried after a pause.
    virtual bool failureIsPermanent(int error) const = 0;
};
