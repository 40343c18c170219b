#include "backends/usb/kpusb_threads.h"

#include "trace.h"

namespace {

// The usblp transfer, with the request that follows a failed write.
class KpusbTransfer final : public UsbPrinterTransfer {
public:
    KpusbTransfer(intptr_t handle, std::function<void(int)> afterFailedWrite)
        : UsbPrinterTransfer(handle), afterFailedWrite_(std::move(afterFailedWrite)) {}
    TransferResult write(const void* data, uint32_t length, const os::Event& stop) override {
        TransferResult r = UsbPrinterTransfer::write(data, length, stop);
        if (r.status == TransferStatus::Failed) afterFailedWrite_(r.error);
        return r;
    }

private:
    std::function<void(int)> afterFailedWrite_;
};

constexpr uint32_t kLineBit0Set = 0x20000;
constexpr uint32_t kLineBit0Clear = 0x10000;

} // namespace

WKpusbA::~WKpusbA() {
    WKpusbA::release(0);
}

int32_t WKpusbA::claim(int32_t) {
    dovaTrace("DOVA: WKpusbA::claim()\n");
    release(0);
    if (int32_t r = openDevice(); r != DOVA_OK) return r;
    if (int32_t r = openEngine(); r != DOVA_OK) {
        release(0);
        return r;
    }
    const auto& t = kDriverTimeouts;
    dovaTrace("DOVA: WKpusbA: driver time-outs %u,%u,%u,%u,%u,%u,%u,%u not sent: no maker's "
              "driver on Linux\n",
              t[0], t[1], t[2], t[3], t[4], t[5], t[6], t[7]);
    setTransfer(std::make_unique<KpusbTransfer>(node_.handle(),
                                                [this](int error) { afterFailedWrite(error); }));
    lastStatus_ = 0;
    const bool started = startThreads(
        [this] {
            runSendWorker("DOVA: WKpusbA::procSend() Start\n", "DOVA: WKpusbA::procSend() End\n");
        },
        [this] {
            runRecvWorker("DOVA: WKpusbA::procRecv() Start\n", "DOVA: WKpusbA::procRecv() End\n",
                          kIdleReadPauseMs);
        },
        [this] {
            runWatchWorker("DOVA: WKpusbA::procWait() Start\n", "DOVA: WKpusbA::procWait() End\n",
                           kStatusPeriodMs, [this] { checkStatus(); });
        });
    if (!started) {
        release(0);
        return DOVA_E_THREAD;
    }
    return DOVA_OK;
}

int32_t WKpusbA::release(int32_t timeout) {
    if (!node_.isOpen()) return DOVA_OK;
    dovaTrace("DOVA: WKpusbA::release(%d)\n", timeout);
    return releaseQueued(timeout, nullptr, [this] { closeDevice(); });
}

void WKpusbA::checkStatus() {
    uint16_t status = 0;
    if (getDeviceStatus(&status) != DOVA_OK || status == lastStatus_) return;
    raiseLineEvents((status & 1) ? kLineBit0Set : kLineBit0Clear);
    lastStatus_ = status;
}

void WKpusbA::afterFailedWrite(int error) {
    uint8_t status = 0;
    if (controls_.getLptStatus(node_, &status) == DOVA_OK)
        dovaTrace("DOVA: WKpusbA: write failed (%d), port status %02X\n", error, status);
    else
        dovaTrace("DOVA: WKpusbA: write failed (%d), no port status\n", error);
}
