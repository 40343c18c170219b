// DescriptorTransfer: the engine's transfer for a device the system gives a
// descriptor for (a socket, a tty, an lp or usblp node, a hidraw node). The
// descriptor is non-blocking and borrowed: the port owns and closes it, after
// its workers have stopped.
#pragma once

#include "engine/transfer.h"

class DescriptorTransfer final : public DovaTransfer {
public:
    enum class Kind {
        // A stream socket: the end of the stream is the peer's close, and
        // failures fail silently (the connection code says it all).
        Socket,
        // A device node the system can wait on (ttys, usblp, hidraw).
        Node,
        // A device node whose driver cannot be waited on (the parport lp
        // driver reports it ready at all times): a busy device is asked
        // again after pauses that grow to a few milliseconds, each of them
        // a wait on the stop event, so nothing spins and a stop is not late.
        UnpollableNode,
    };

    DescriptorTransfer(intptr_t handle, Kind kind) : handle_(handle), kind_(kind) {}

    TransferResult write(const void* data, uint32_t length, const os::Event& stop) override;
    TransferResult read(void* buffer, uint32_t size, const os::Event& stop) override;
    bool zeroReadEndsStream() const override { return kind_ == Kind::Socket; }
    bool failureIsPermanent(int error) const override;

private:
    // Waits until the descriptor may be ready for `forWrite` or the stop
    // event is raised (true: stopping). round counts the waits of one call.
    bool waitReady(bool forWrite, const os::Event& stop, uint32_t round, int* error);

    intptr_t handle_;
    Kind kind_;
};
