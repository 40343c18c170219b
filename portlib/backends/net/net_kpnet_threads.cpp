#include "backends/net/net_kpnet_threads.h"

#include "engine/descriptor_transfer.h"
#include "os/os_wait.h"
#include "trace.h"

WKpnetA::~WKpnetA() {
    WKpnetA::release(0);
}

int32_t WKpnetA::claim(int32_t) {
    int32_t r = claimSocketAndChannel("WKpnetA");
    if (r != DOVA_OK) return r;
    if (r = openEngine(); r != DOVA_OK) {
        release(0);
        return r;
    }
    if (connectPeer() != 0 || !socket_.setNonBlocking(true)) {
        release(0);
        return DOVA_E_CONNECT;
    }
    const intptr_t h = socket_.handle();
    setTransfer(std::make_unique<DescriptorTransfer>(h, DescriptorTransfer::Kind::Socket));
    bool started = startThreads(
        [this] {
            runSendWorker("DOVA: WKPnetA::procSend() Start\n", "DOVA: WKpnetA::procSend() End\n");
        },
        [this] {
            runRecvWorker("DOVA: WKpnetA::procRecv() Start\n", "DOVA: WKpnetA::procRecv() End\n");
        },
        [] {
            dovaTrace("DOVA: WKpnetA::procConn() Start\n");
            dovaTrace("DOVA: WKpnetA::procConn() End\n");
        });
    if (!started) {
        release(0);
        return DOVA_E_THREAD;
    }
    return DOVA_OK;
}

int32_t WKpnetA::release(int32_t timeout) {
    if (!socket_.valid()) return DOVA_OK;
    dovaTrace("DOVA: WKpentA::release(%d)\n", timeout);
    int32_t result = releaseQueued(
        timeout, [this, timeout](int32_t drained) { return closeAfterDrain(drained, timeout); },
        [this] { socket_.close(); });
    status_.close();
    return result;
}
