#include "backends/usb/usbprn_threads.h"

#include "trace.h"

WUsbprnA::~WUsbprnA() {
    WUsbprnA::release(0);
}

int32_t WUsbprnA::claim(int32_t) {
    dovaTrace("DOVA: WUsbprnA::claim()\n");
    release(0);
    if (int32_t r = openPrinter(); r != DOVA_OK) return r;
    if (int32_t r = openEngine(); r != DOVA_OK) {
        release(0);
        return r;
    }
    setTransfer(std::make_unique<UsbPrinterTransfer>(node_.handle()));
    const bool started = startThreads(
        [this] {
            runSendWorker("DOVA: WUsbprnA::procSend() Start\n", "DOVA: WUsbprnA::procSend() End\n");
        },
        [this] {
            runRecvWorker("DOVA: WUsbprnA::procRecv() Start\n", "DOVA: WUsbprnA::procRecv() End\n");
        },
        nullptr);
    if (!started) {
        release(0);
        return DOVA_E_THREAD;
    }
    return DOVA_OK;
}

int32_t WUsbprnA::release(int32_t timeout) {
    if (!node_.isOpen()) return DOVA_OK;
    dovaTrace("DOVA: WUsbprnA::release(%d)\n", timeout);
    return releaseQueued(timeout, nullptr, [this] { closePrinter(); });
}
