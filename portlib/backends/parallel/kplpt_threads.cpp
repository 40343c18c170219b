#include "backends/parallel/kplpt_threads.h"

#include "backends/parallel/lpt_threads.h"
#include "os/os_serial_line.h"
#include "trace.h"

WKplptA::~WKplptA() {
    WKplptA::release(0);
}

int32_t WKplptA::claim(int32_t) {
    dovaTrace("DOVA: WKplptA::claim()\n");
    release(0);
    if (int32_t r = openDevice(); r != DOVA_OK) return r;
    if (int32_t r = openEngine(); r != DOVA_OK) {
        release(0);
        return r;
    }
    activeTimeouts_ = storedTimeouts_;
    setTransfer(dovaParallelTransfer(node_));
    const bool started = startThreads(
        [this] {
            runSendWorker("DOVA: WKplptA::procSend() Start\n", "DOVA: WKplptA::procSend() End\n");
        },
        [this] {
            runRecvWorker("DOVA: WKplptA::procRecv() Start\n", "DOVA: WKplptA::procRecv() End\n");
        },
        nullptr);
    if (!started) {
        release(0);
        return DOVA_E_THREAD;
    }
    return DOVA_OK;
}

int32_t WKplptA::release(int32_t timeout) {
    if (!node_.isOpen()) return DOVA_OK;
    dovaTrace("DOVA: WKplptA::release(%d)\n", timeout);
    return releaseQueued(timeout, nullptr, [this] { closeDevice(); });
}

int32_t WKplptA::purgeSend() {
    os::serialFlush(node_, true, false);
    return WAsync::purgeSend();
}

int32_t WKplptA::purgeRecv() {
    os::serialFlush(node_, false, true);
    return WAsync::purgeRecv();
}
