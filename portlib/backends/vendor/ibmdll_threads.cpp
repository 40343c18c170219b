#include "backends/vendor/ibmdll_threads.h"

#include "backends/vendor/ibm_device_status.h"
#include "backends/vendor/vendor_library.h"
#include "trace.h"

#include <dova/dova.h>

#include <cstdio>
#include <cstring>

namespace {

constexpr uint32_t largestLength = 0xFFFF;
constexpr uint16_t statusSize = 6;

// The send worker's way to the printer: one library write per call. The
// library bounds its own wait, so the stop event is not waited on here.
class WntsfprtTransfer final : public DovaTransfer {
public:
    explicit WntsfprtTransfer(WntsfprtDevice device) : device_(device) {}

    TransferResult write(const void* data, uint32_t length, const os::Event&) override {
        uint16_t count = uint16_t(length > largestLength ? largestLength : length);
        uint16_t r = DOVA_VENDOR_CALL(wntsfprtLibrary(), PrtWriteDevice, wntsfprtMissing, device_,
                                      wntsfprtStation, static_cast<const uint8_t*>(data), &count);
        if (r == 0) return TransferResult::done(count);
        printDeviceStatus();
        // What the printer took still counts; a write that took nothing is
        // tried again after the engine's pause, not at once.
        return count != 0 ? TransferResult::done(count) : TransferResult::failed(r);
    }
    TransferResult read(void*, uint32_t, const os::Event&) override {
        return TransferResult::done(0);
    }
    bool zeroReadEndsStream() const override { return false; }
    bool failureIsPermanent(int) const override { return false; }

private:
    void printDeviceStatus() {
        uint8_t status[8];
        std::memset(status, 0, sizeof status);
        uint16_t size = statusSize;
        DOVA_VENDOR_CALL(wntsfprtLibrary(), PrtDeviceStatus, wntsfprtMissing, device_,
                         wntsfprtStation, uint16_t(0), static_cast<void*>(status), &size);
        std::string text = ibmDeviceStatusText(status);
        std::fwrite(text.data(), 1, text.size(), stdout);
        std::fflush(stdout);
    }

    WntsfprtDevice device_;
};

} // namespace

WIBMDLLA::~WIBMDLLA() {
    WIBMDLLA::release(0);
}

int32_t WIBMDLLA::claim(int32_t timeout) {
    int32_t no = -1;
    getNo(&no);
    dovaTrace("DOVA: WIBMDLLA::claim(%d)\n", no);
    release(0);
    if (int32_t r = openDevice(timeout); r != DOVA_OK) return r;
    if (int32_t r = openEngine(); r != DOVA_OK) {
        release(0);
        return r;
    }
    setTransfer(std::make_unique<WntsfprtTransfer>(device()));
    bool started = startThreads(
        [this] {
            runSendWorker("DOVA: WIBMDLLA::procSend() Start\n", "DOVA: WIBMDLLA::procSend() End\n");
        },
        nullptr, nullptr);
    if (!started) {
        release(0);
        return DOVA_E_THREAD;
    }
    return DOVA_OK;
}

int32_t WIBMDLLA::release(int32_t timeout) {
    if (!device()) return DOVA_OK;
    dovaTrace("DOVA: WIBMDLLA::release(%d)\n", timeout);
    return releaseQueued(
        timeout, [](int32_t drained) { return drained; }, [this] { closeDevice(); });
}
