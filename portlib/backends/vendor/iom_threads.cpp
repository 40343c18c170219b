#include "backends/vendor/iom_threads.h"

#include "trace.h"

#include <dova/dova.h>

namespace {

constexpr uint32_t workerTimeoutMs = 50;

// The workers' way to the module. The module bounds each call by the time-out
// given, which is what bounds the workers' stop.
class IOModuleTransfer final : public DovaTransfer {
public:
    explicit IOModuleTransfer(IOModule* module) : module_(module) {}

    TransferResult write(const void* data, uint32_t length, const os::Event&) override {
        uint32_t count = 0;
        if (module_->io && module_->io->write)
            module_->io->write(module_, static_cast<const uint8_t*>(data), length, &count,
                               workerTimeoutMs);
        // A write that took nothing is tried again after the engine's pause.
        if (count == 0) return TransferResult::failed(0);
        return TransferResult::done(count < length ? count : length);
    }

    TransferResult read(void* buffer, uint32_t size, const os::Event&) override {
        uint32_t count = 0;
        if (module_->io && module_->io->read)
            module_->io->read(module_, static_cast<uint8_t*>(buffer), size, &count,
                              workerTimeoutMs);
        return TransferResult::done(count < size ? count : size);
    }

    bool zeroReadEndsStream() const override { return false; }
    bool failureIsPermanent(int) const override { return false; }

private:
    IOModule* module_;
};

} // namespace

WIOMA::~WIOMA() {
    WIOMA::release(0);
}

int32_t WIOMA::claim(int32_t /*timeout*/) {
    dovaTrace("DOVA: WIOMA::claim()\n");
    release(0);
    if (int32_t r = openModule(); r != DOVA_OK) return r;
    if (!openConnection()) {
        release(0);
        return DOVA_E_OPEN;
    }
    if (int32_t r = openEngine(); r != DOVA_OK) {
        release(0);
        return r;
    }
    if (!applyLineSettings()) {
        release(0);
        return DOVA_E_LINESETUP;
    }
    setTransfer(std::make_unique<IOModuleTransfer>(module()));
    bool started = startThreads(
        [this] {
            runSendWorker("DOVA: WIOMA::procSend() Start\n", "DOVA: WIOMA::procSend() End\n");
        },
        [this] {
            runRecvWorker("DOVA: WIOMA::procRecv() Start\n", "DOVA: WIOMA::procRecv() End\n");
        },
        nullptr);
    if (!started) {
        release(0);
        return DOVA_E_THREAD;
    }
    return DOVA_OK;
}

int32_t WIOMA::release(int32_t timeout) {
    if (!module()) return DOVA_OK;
    dovaTrace("DOVA: WIOMA::release(%d)\n", timeout);
    return releaseQueued(
        timeout, [](int32_t drained) { return drained; }, [this] { closeModule(); });
}
