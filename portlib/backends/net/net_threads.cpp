#include "backends/net/net_threads.h"

#include "engine/descriptor_transfer.h"
#include "os/os_wait.h"
#include "trace.h"

WNetA::~WNetA() {
    WNetA::release(0);
}

int32_t WNetA::claim(int32_t) {
    dovaTrace("DOVA: WNetA::claim()\n");
    release(0);
    if (port_ == 0) return DOVA_E_ADDRESS;
    socket_ = os::Socket::tcp();
    if (!socket_.valid()) return DOVA_E_SOCKET;
    if (int32_t r = openEngine(); r != DOVA_OK) {
        release(0);
        return r;
    }
    if (connectPeer() != 0) {
        release(0);
        return DOVA_E_CONNECT;
    }
    // The workers wait in poll() beside the stop event, never in the socket.
    if (!socket_.setNonBlocking(true)) {
        lastError_ = os::lastError();
        release(0);
        return DOVA_E_CONNECT;
    }
    const intptr_t h = socket_.handle();
    setTransfer(std::make_unique<DescriptorTransfer>(h, DescriptorTransfer::Kind::Socket));
    bool started = startThreads(
        [this] {
            runSendWorker("DOVA: WNetA::procSend() Start\n", "DOVA: WNetA::procSend() End\n");
        },
        [this] {
            runRecvWorker("DOVA: WNetA::procRecv() Start\n", "DOVA: WNetA::procRecv() End\n");
        },
        nullptr);
    if (!started) {
        release(0);
        return DOVA_E_THREAD;
    }
    return DOVA_OK;
}

int32_t WNetA::release(int32_t timeout) {
    if (!socket_.valid()) return DOVA_OK;
    dovaTrace("DOVA: WNetA::release(%d)\n", timeout);
    int32_t result = releaseQueued(
        timeout, [this, timeout](int32_t drained) { return closeAfterDrain(drained, timeout); },
        [this] { socket_.close(); });
    return result;
}
