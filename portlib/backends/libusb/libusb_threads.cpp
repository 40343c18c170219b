#include "backends/libusb/libusb_threads.h"

#include "backends/vendor/vendor_library.h"
#include "trace.h"

#include <dova/dova.h>

#include <climits>

namespace {

// The workers' way to the device: one bulk call per transfer. The library
// bounds its own wait, so the stop event is not waited on here.
class LibusbTransfer final : public DovaTransfer {
public:
    LibusbTransfer(usb_dev_handle* handle, uint8_t out, uint8_t in)
        : handle_(handle), out_(out), in_(in) {}

    TransferResult write(const void* data, uint32_t length, const os::Event&) override {
        int r = DOVA_VENDOR_CALL(libusb0Library(), usb_bulk_write, -1, handle_, int(out_),
                                 static_cast<const char*>(data), clamp(length),
                                 WLibusb::kWriteTimeoutMs);
        // Nothing taken: the block stays and is written again after a pause.
        return r > 0 ? TransferResult::done(uint32_t(r)) : TransferResult::failed(r);
    }
    TransferResult read(void* buffer, uint32_t size, const os::Event&) override {
        int r = DOVA_VENDOR_CALL(libusb0Library(), usb_bulk_read, -1, handle_, int(in_),
                                 static_cast<char*>(buffer), clamp(size), WLibusb::kReadTimeoutMs);
        // A time-out is the usual answer of a printer with nothing to say.
        return TransferResult::done(r > 0 ? uint32_t(r) : 0);
    }
    bool zeroReadEndsStream() const override { return false; }
    bool failureIsPermanent(int) const override { return false; }

private:
    static int clamp(uint32_t n) { return n > uint32_t(INT_MAX) ? INT_MAX : int(n); }

    usb_dev_handle* handle_;
    uint8_t out_;
    uint8_t in_;
};

} // namespace

WLibusbA::~WLibusbA() {
    WLibusbA::release(0);
}

int32_t WLibusbA::claim(int32_t) {
    dovaTrace("DOVA: WLibusbA::claim()\n");
    release(0);
    if (int32_t r = openDevice(); r != DOVA_OK) return r;
    if (int32_t r = openEngine(); r != DOVA_OK) {
        release(0);
        return r;
    }
    setTransfer(std::make_unique<LibusbTransfer>(handle(), outEndpoint(), inEndpoint()));
    // Without a bulk IN endpoint there is nothing to read, and a reader
    // would only call the library in a loop for its refusal.
    std::function<void()> recvBody;
    if (inEndpoint() != 0xFF)
        recvBody = [this] {
            runRecvWorker("DOVA: WLibusbA::procRecv() Start\n", "DOVA: WLibusbA::procRecv() End\n");
        };
    bool started = startThreads(
        [this] {
            runSendWorker("DOVA: WLibusbA::procSend() Start\n", "DOVA: WLibusbA::procSend() End\n");
        },
        recvBody, nullptr);
    if (!started) {
        release(0);
        return DOVA_E_THREAD;
    }
    return DOVA_OK;
}

int32_t WLibusbA::release(int32_t timeout) {
    if (!handle()) return DOVA_OK;
    dovaTrace("DOVA: WLibusbA::release(%d)\n", timeout);
    return releaseQueued(
        timeout, [](int32_t drained) { return drained; }, [this] { closeDevice(false); });
}
