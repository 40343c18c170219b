#include "backends/parallel/lpt_threads.h"

#include "engine/descriptor_transfer.h"
#include "os/os_parallel_port.h"
#include "os/os_serial_line.h"
#include "trace.h"

namespace {

// A printer's back channel: a read that fails is not the end of the
// device (a parport printer without a reverse channel fails every read), it
// only means nothing came; the engine then reads again after a pause.
class BackChannelTransfer final : public DovaTransfer {
public:
    BackChannelTransfer(intptr_t handle, DescriptorTransfer::Kind kind) : inner_(handle, kind) {}
    TransferResult write(const void* data, uint32_t length, const os::Event& stop) override {
        return inner_.write(data, length, stop);
    }
    TransferResult read(void* buffer, uint32_t size, const os::Event& stop) override {
        TransferResult r = inner_.read(buffer, size, stop);
        return r.status == TransferStatus::Failed ? TransferResult::done(0) : r;
    }
    bool zeroReadEndsStream() const override { return false; }
    bool failureIsPermanent(int error) const override { return inner_.failureIsPermanent(error); }

private:
    DescriptorTransfer inner_;
};

} // namespace

std::unique_ptr<DovaTransfer> dovaParallelTransfer(os::DeviceNode& node) {
    const auto kind = os::parallelCanWait(node) ? DescriptorTransfer::Kind::Node
                                                : DescriptorTransfer::Kind::UnpollableNode;
    return std::make_unique<BackChannelTransfer>(node.handle(), kind);
}

WLptA::~WLptA() {
    WLptA::release(0);
}

int32_t WLptA::claim(int32_t) {
    dovaTrace("DOVA: WLptA::claim(%d)\n", no_);
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
            runSendWorker("DOVA: WLptA::procSend() Start\n", "DOVA: WLptA::procSend() End\n");
        },
        [this] {
            runRecvWorker("DOVA: WLptA::procRecv() Start\n", "DOVA: WLptA::procRecv() End\n");
        },
        nullptr);
    if (!started) {
        release(0);
        return DOVA_E_THREAD;
    }
    return DOVA_OK;
}

int32_t WLptA::release(int32_t timeout) {
    if (!node_.isOpen()) return DOVA_OK;
    dovaTrace("DOVA: WLptA::release(%d)\n", timeout);
    return releaseQueued(timeout, nullptr, [this] { closeDevice(); });
}

int32_t WLptA::purgeSend() {
    os::serialFlush(node_, true, false);
    return WAsync::purgeSend();
}

int32_t WLptA::purgeRecv() {
    os::serialFlush(node_, false, true);
    return WAsync::purgeRecv();
}
