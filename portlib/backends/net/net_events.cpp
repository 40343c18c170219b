#include "backends/net/net_events.h"

#include "engine/descriptor_transfer.h"
#include "os/os_wait.h"
#include "trace.h"

WNetE::~WNetE() {
    WNetE::release(0);
}

int32_t WNetE::claim(int32_t) {
    dovaTrace("DOVA: WNetE::claim()\n");
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
    // Selecting the socket's events: from here the workers learn of them
    // through poll(), which needs a non-blocking socket.
    bool selected = socket_.setNonBlocking(true);
    dovaTrace("DOVA:  WSAEventSelect(%08X)\n", unsigned(socket_.handle()));
    if (!selected) {
        lastError_ = os::lastError();
        release(0);
        return DOVA_E_NOTIFY;
    }
    const intptr_t h = socket_.handle();
    setTransfer(std::make_unique<DescriptorTransfer>(h, DescriptorTransfer::Kind::Socket));
    bool started = startThreads(
        [this] {
            runSendWorker("DOVA: WNetE::procSend() Start\n", "DOVA: WNetE::procSend() End\n");
        },
        nullptr,
        [this, h] {
            runSocketWaitWorker("DOVA: WNetE::procWait() Start\n", "DOVA: WNetE::procWait() End\n",
                                h);
        });
    if (!started) {
        release(0);
        return DOVA_E_THREAD;
    }
    return DOVA_OK;
}

int32_t WNetE::release(int32_t timeout) {
    if (!socket_.valid()) return DOVA_OK;
    dovaTrace("DOVA: WNetE::release(%d)\n", timeout);
    int32_t result = releaseQueued(
        timeout, [this, timeout](int32_t drained) { return closeAfterDrain(drained, timeout); },
        [this] { socket_.close(); });
    return result;
}
