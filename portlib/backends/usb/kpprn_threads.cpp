#include "backends/usb/kpprn_threads.h"

#include "trace.h"

WKpprnA::~WKpprnA() {
    WKpprnA::release(0);
}

int32_t WKpprnA::claim(int32_t) {
    dovaTrace("DOVA: WKpprnA::claim()\n");
    release(0);
    if (int32_t r = openPrinter(); r != DOVA_OK) return r;
    if (int32_t r = openEngine(); r != DOVA_OK) {
        release(0);
        return r;
    }
    setTransfer(std::make_unique<UsbPrinterTransfer>(node_.handle()));
    const bool started = startThreads(
        [this] {
            runSendWorker("DOVA: WKpprnA::procSend() Start\n", "DOVA: WKpprnA::procSend() End\n");
        },
        [this] {
            runRecvWorker("DOVA: WKpprnA::procRecv() Start\n", "DOVA: WKpprnA::procRecv() End\n");
        },
        nullptr);
    if (!started) {
        release(0);
        return DOVA_E_THREAD;
    }
    return DOVA_OK;
}

int32_t WKpprnA::release(int32_t timeout) {
    if (!node_.isOpen()) return DOVA_OK;
    dovaTrace("DOVA: WKpprnA::release(%d)\n", timeout);
    return releaseQueued(timeout, nullptr, [this] { closePrinter(); });
}
