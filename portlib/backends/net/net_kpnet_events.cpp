#include "backends/net/net_kpnet_events.h"

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
    bool started = startThreads(
        [this, h] {
            runSendWorker("DOVA: WKpnetE::procSend() Start\n", "DOVA: WKpnetE::procSend() End\n", h,
                          Device::Socket);
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
        timeout, [this] { return deviceLost(); }, [this] { closeEngine(); });
    status_.close();
    return result;
}
