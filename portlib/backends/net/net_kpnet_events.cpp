#include "backends/net/net_kpnet_events.h"

#include "engine/descriptor_transfer.h"
#include "os/os_wait.h"
#include "trace.h"

WKpnetE::~WKpnetE() {
    WKpnetE::release(0);
}

int32_t WKpnetE::claim(int32_t) {
    int32_t r = claimSocketAndChannel("WKpnetE");
    if (r != DOVA_OK) return r;
    if (r = openEngine(); r != DOVA_OK) {
        release(0);
        return r;
    }
    if (connectPeer() != 0) {
        release(0);
        return DOVA_E_CONNECT;
    }
    bool selected = socket_.setNonBlocking(true);
    dovaTrace("DOVA: WSAEventSelect(%08X)=%d\n", unsigned(socket_.handle()), selected ? 0 : -1);
    if (!selected) {
        lastError_ = os::lastError();
        release(0);
        return DOVA_E_NOTIFY;
    }
    const intptr_t h = socket_.handle();
    setTransfer(std::make_unique<DescriptorTransfer>(h, DescriptorTransfer::Kind::Socket));
    bool started = startThreads(
        [this] {
            runSendWorker("DOVA: WKpnetE::procSend() Start\n", "DOVA: WKpnetE::procSend() End\n");
        },
        nullptr,
        [this, h] {
            runSocketWaitWorker("DOVA: WKpnetE::procWait() Start\n",
                                "DOVA: WKpnetE::procWait() End\n", h);
        });
    if (!started) {
        release(0);
        return DOVA_E_THREAD;
    }
    return DOVA_OK;
}

int32_t WKpnetE::release(int32_t timeout) {
    if (!socket_.valid()) return DOVA_OK;
    dovaTrace("DOVA: WKpnetE::release(%d)\n", timeout);
    int32_t result = releaseQueued(
        timeout, [this, timeout](int32_t drained) { return closeAfterDrain(drained, timeout); },
        [this] { socket_.close(); });
    status_.close();
    return result;
}
