#include "backends/serial/com_threads.h"

#include "engine/descriptor_transfer.h"
#include "trace.h"

#include <string>

WComA::~WComA() {
    WComA::release(0);
}

int32_t WComA::claim(int32_t) {
    dovaTrace("DOVA: WComA::claim(%d)\n", no_);
    release(0);
    return startEngine("WComA", nullptr);
}

int32_t WComA::startEngine(const char* className, std::function<void()> waitBody) {
    if (int32_t r = openDevice(); r != DOVA_OK) return r;
    if (int32_t r = openEngine(); r != DOVA_OK) {
        release(0);
        return r;
    }
    if (!startComm()) {
        release(0);
        return DOVA_E_LINESETUP;
    }
    dovaTrace("DOVA: %s::start Threads\n", className);
    setTransfer(
        std::make_unique<DescriptorTransfer>(node_.handle(), DescriptorTransfer::Kind::Node));
    const std::string name = className;
    std::function<void()> recvBody;
    if (!waitBody)
        recvBody = [this, name] {
            runRecvWorker(("DOVA: " + name + "::procRecv() Start\n").c_str(),
                          ("DOVA: " + name + "::procRecv() End\n").c_str());
        };
    const bool started = startThreads(
        [this, name] {
            runSendWorker(("DOVA: " + name + "::procSend() Start\n").c_str(),
                          ("DOVA: " + name + "::procSend() End\n").c_str());
        },
        std::move(recvBody), std::move(waitBody));
    if (!started) {
        release(0);
        return DOVA_E_THREAD;
    }
    return DOVA_OK;
}

int32_t WComA::release(int32_t timeout) {
    if (!node_.isOpen()) return DOVA_OK;
    dovaTrace("DOVA: WComA::release(%d)\n", timeout);
    return releaseLine(timeout);
}

int32_t WComA::releaseLine(int32_t timeout) {
    bool discard = timeout == 0;
    return releaseQueued(
        timeout,
        [this, timeout, &discard](int32_t drained) {
            if (drained == 0 && timeout != 0) drained = drainDriver(timeout);
            if (drained != 0) discard = true;
            dropLines();
            return drained;
        },
        [this, &discard] {
            // A line that does not drain would hold the close.
            if (discard) os::serialFlush(node_, true, false);
            closeDevice();
        });
}

int32_t WComA::purgeSend() {
    os::serialFlush(node_, true, false);
    return WAsync::purgeSend();
}

int32_t WComA::purgeRecv() {
    os::serialFlush(node_, false, true);
    return WAsync::purgeRecv();
}
