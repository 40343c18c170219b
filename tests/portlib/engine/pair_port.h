// A worker-thread port over one end of a socket pair, for testing the engine
// against a real peer (the other end) without a network backend.
#pragma once

#include "dova_base.h"
#include "engine/wasync_port.h"

class PairPort : public DovaBase, public WAsync {
public:
    PairPort() : WAsync(static_cast<DovaBase&>(*this)) {}
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

private:
    int fd_ = -1;
    int peer_ = -1;
    bool small_ = false;
};
