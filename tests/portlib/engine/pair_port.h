// A worker-thread port over one end of a socket pair, for testing the engine
// against a real peer (the other end) without a network backend. Its workers
// move the bytes either through the engine's descriptor transfer or through
// a transfer that plays a device library's call: blocking up to a time-out
// of its own, deaf to the stop event, a read of nothing meaning "nothing yet".
#pragma once

#include "dova_base.h"
#include "engine/wasync_port.h"

#include <atomic>
#include <functional>

enum class PairPrimitive { Descriptor, LibraryCall };

class PairPort : public DovaBase, public WAsync {
public:
    explicit PairPort(PairPrimitive primitive = PairPrimitive::Descriptor)
        : WAsync(static_cast<DovaBase&>(*this)), primitive_(primitive) {}
    ~PairPort() override;

    uint32_t getIFType() override { return 0x7F; }
    int32_t getAsyncMode() override { return 1; }
    const char* getTypeName() override { return "PAIR"; }
    int32_t claim(int32_t timeout) override;
    int32_t release(int32_t timeout) override;
    intptr_t getHandle() override { return fd_; }
    int32_t isOpen() override { return fd_ >= 0; }
    int32_t isReady() override { return 1; }

    DOVA_WASYNC_PORT_OPERATIONS

    // The other end: what the "device" sees. Blocking; open until the next claim.
    int peer() const { return peer_; }
    // The peer side's receive buffer, made small so that a peer that reads
    // nothing stalls the writer soon.
    void setSmallBuffers(bool on) { small_ = on; }

    // The engine's hooks, for the tests of what families build on them.
    using WAsync::raiseLineEvents;
    using WAsync::runWatchWorker;
    using WAsync::storeReceived;
    std::atomic<bool> hold{false};
    // Started in the wait worker's slot at claim when set.
    std::function<void()> waitBody;

protected:
    bool sendHeld() override { return hold.load(); }

private:
    int fd_ = -1;
    int peer_ = -1;
    bool small_ = false;
    PairPrimitive primitive_;
};
