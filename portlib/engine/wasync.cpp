#include "engine/wasync.h"

#include "dova_base.h"
#include "engine/list_queue.h"
#include "engine/ring_buf.h"
#include "os/os_clock.h"
#include "os/os_io.h"
#include "os/os_wait.h"
#include "trace.h"

#include <dova/dova.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <new>
#include <system_error>

namespace {

bool powerOfTwo(uint32_t n) {
    return n != 0 && (n & (n - 1)) == 0;
}

// A failed transfer that is not the end of the connection is retried after
// this pause, so that a device stuck in an error does not spin a core.
constexpr uint32_t kRetryPauseMs = 50;

// A read of 0 bytes from a device that only had nothing to give is tried
// again after this pause, and held output is looked at again after it.
constexpr uint32_t kIdlePauseMs = 5;

// After waking on new data the send worker gives a caller that sends byte
// by byte this long to fill a block, instead of writing (and waking) per
// handful of bytes. Short against any printer's own delays.
constexpr uint32_t kGatherMs = 1;

std::unique_ptr<CDataMgr> makeQueue(int32_t kind, uint32_t capacity) {
    if (kind == 0) {
        std::unique_ptr<CDataMgr> ring(new (std::nothrow) CRingBuf);
        if (ring && !ring->setCapacity(capacity)) ring.reset();
        return ring;
    }
    if (kind == 1) return std::unique_ptr<CDataMgr>(new (std::nothrow) CListQueue);
    return nullptr;
}

// The result codes of the wait the trace reports, as the system's own wait
// gives them: the index of the signalled object, or these.
constexpr int kTraceTimeout = 258;
constexpr int kTraceFailed = -1;

int traceWaitResult(int r) {
    return r == os::kWaitTimeout ? kTraceTimeout : r == os::kWaitFailed ? kTraceFailed : r;
}

} // namespace

WAsync::WAsync(DovaBase& port) : owner_(port) {
    dovaTrace("DOVA: WAsync::WAsync()\n");
}

WAsync::~WAsync() {
    // The derived port's release has stopped the workers already.
    joinWorkers();
    freeQueues();
    closeEvents();
}

void WAsync::onReadFailed(int) {}

bool WAsync::sendHeld() {
    return false;
}

int32_t WAsync::setSendBufferSize(uint32_t bytes) {
    if (!powerOfTwo(bytes)) return 0;
    sendBufferSize_ = bytes;
    return 1;
}

int32_t WAsync::setRecvBufferSize(uint32_t bytes) {
    if (!powerOfTwo(bytes)) return 0;
    recvBufferSize_ = bytes;
    return 1;
}

int32_t WAsync::setSendBlockSize(uint32_t bytes) {
    if (bytes == 0) return 0;
    sendBlockSize_ = bytes;
    return 1;
}

int32_t WAsync::setRecvBlockSize(uint32_t bytes) {
    if (bytes == 0) return 0;
    recvBlockSize_ = bytes;
    return 1;
}

int32_t WAsync::send(const void* data, uint32_t length, uint32_t* accepted, uint32_t tagA,
                     uint32_t tagB, uint32_t tagC) {
    uint32_t taken = 0, queued = 0;
    if (accepted) *accepted = 0;
    if (!sendQueue_) return DOVA_E_WRITE;
    if (lockFreeSend_) {
        auto* ring = static_cast<CRingBuf*>(sendQueue_.get());
        if (length == 1)
            taken = ring->putByte(*static_cast<const uint8_t*>(data)) ? 1 : 0;
        else
            ring->put(data, length, &taken, tagA, tagB, tagC);
    } else {
        std::lock_guard<std::mutex> guard(sendLock_);
        sendQueue_->put(data, length, &taken, tagA, tagB, tagC);
        queued = sendQueue_->count();
    }
    if (accepted) *accepted = taken;
    if (!taken) return DOVA_OK;
    // Wake only a worker that found the queue empty (or waits for a full
    // block): a caller sending byte by byte must not pay a system call per
    // byte. The fence pairs with the worker's between marking itself idle
    // and looking at the queue once more, so one of the two sees the other.
    std::atomic_thread_fence(std::memory_order_seq_cst);
    bool wake = false;
    if (senderIdle_.load(std::memory_order_relaxed))
        wake = senderIdle_.exchange(false);
    else if (senderGathering_.load(std::memory_order_relaxed) &&
             (lockFreeSend_ ? sendQueue_->count() : queued) >= activeSendBlockSize_)
        wake = senderGathering_.exchange(false);
    if (wake) sendEvent_.set();
    return DOVA_OK;
}

int32_t WAsync::recv(void* buffer, uint32_t size, uint32_t* read, uint32_t) {
    uint32_t taken = 0;
    if (read) *read = 0;
    if (!recvQueue_) return DOVA_E_READ;
    {
        std::lock_guard<std::mutex> guard(recvLock_);
        recvQueue_->get(buffer, size, &taken, nullptr, nullptr, nullptr);
    }
    if (read) *read = taken;
    return DOVA_OK;
}

uint32_t WAsync::queuedNow() {
    // A ring's count may be read by either side at any time; a list's only
    // under the send lock.
    if (lockFreeSend_) return sendQueue_->count();
    std::lock_guard<std::mutex> guard(sendLock_);
    return sendQueue_->count();
}

uint32_t WAsync::sendCountLocked() const {
    return sendQueue_->count() + sendRemaining_.load();
}

int32_t WAsync::getSendCount(uint32_t* count) {
    if (!sendQueue_) return DOVA_E_QUEUE;
    if (!count) return DOVA_E_PARAM;
    std::lock_guard<std::mutex> guard(sendLock_);
    *count = sendCountLocked();
    return DOVA_OK;
}

int32_t WAsync::getRecvCount(uint32_t* count) {
    if (!recvQueue_) return DOVA_E_QUEUE;
    if (!count) return DOVA_E_PARAM;
    std::lock_guard<std::mutex> guard(recvLock_);
    *count = recvQueue_->count();
    return DOVA_OK;
}

int32_t WAsync::purgeSend() {
    if (!sendQueue_) return DOVA_E_PURGE;
    {
        std::lock_guard<std::mutex> guard(sendLock_);
        sendRemaining_.store(0);
        ++purges_;
        sendQueue_->clear();
    }
    sendProgress_.notify_all();
    return DOVA_OK;
}

int32_t WAsync::purgeRecv() {
    if (!recvQueue_) return DOVA_E_PURGE;
    std::lock_guard<std::mutex> guard(recvLock_);
    recvQueue_->clear();
    return DOVA_OK;
}

int32_t WAsync::getSendQueueType(int32_t* type) {
    if (type) *type = sendQueueType_;
    return DOVA_OK;
}

int32_t WAsync::setSendQueueType(int32_t type) {
    sendQueueType_ = type;
    return DOVA_OK;
}

int32_t WAsync::getRecvQueueType(int32_t* type) {
    if (type) *type = recvQueueType_;
    return DOVA_OK;
}

int32_t WAsync::setRecvQueueType(int32_t type) {
    recvQueueType_ = type;
    return DOVA_OK;
}

int32_t WAsync::waitSendDone(int32_t timeout) {
    if (timeout == 0 || !sendQueue_) return 0;
    // The time-out bounds the time without progress, not the total time: a
    // port that keeps sending slowly is waited for as long as the count moves.
    const uint64_t limit = uint32_t(timeout);
    std::unique_lock<std::mutex> guard(sendLock_);
    uint32_t count = sendCountLocked();
    uint32_t since = os::tickCount();
    while (count != 0) {
        if (deviceLost()) return 1;
        const uint64_t stalled = uint32_t(os::tickCount() - since);
        if (stalled > limit) return 1;
        // Wait in slices, so a count the caller's own thread cannot see
        // change (a worker that ended) is looked at again.
        const uint64_t wait = std::min<uint64_t>(limit - stalled + 1, 100);
        sendProgress_.wait_for(guard, std::chrono::milliseconds(wait));
        const uint32_t now = sendCountLocked();
        if (now != count) {
            count = now;
            since = os::tickCount();
        }
    }
    return 0;
}

int32_t WAsync::openEngine() {
    if (!createEvents()) return DOVA_E_EVENT;
    if (!createQueues()) return DOVA_E_QUEUE;
    return DOVA_OK;
}

void WAsync::closeEngine() {
    stopThreads();
    freeQueues();
    closeEvents();
    transfer_.reset();
}

int32_t WAsync::releaseQueued(int32_t timeout, const std::function<int32_t(int32_t)>& closeLine,
                              const std::function<void()>& closeDevice) {
    int32_t result = waitSendDone(timeout);
    if (closeLine) result = closeLine(result);
    closeEngine();
    // The reader may have taken the reset that the closing step would have seen.
    if (timeout != 0 && result == 0 && deviceLost()) result = 1;
    if (closeDevice) closeDevice();
    return result;
}

bool WAsync::createEvents() {
    stopEvent_ = os::Event::create();
    sendEvent_ = os::Event::create();
    return stopEvent_.valid() && sendEvent_.valid();
}

bool WAsync::createQueues() {
    sendQueue_ = makeQueue(sendQueueType_, sendBufferSize_);
    recvQueue_ = makeQueue(recvQueueType_, recvBufferSize_);
    lockFreeSend_ = sendQueueType_ == 0;
    activeSendBlockSize_ = sendBlockSize_;
    activeRecvBlockSize_ = recvBlockSize_;
    sendBlock_.reset(new (std::nothrow) uint8_t[activeSendBlockSize_]);
    recvBlock_.reset(new (std::nothrow) uint8_t[activeRecvBlockSize_]);
    sendRemaining_.store(0);
    sendPosition_ = sendBlock_.get();
    senderIdle_.store(false);
    senderGathering_.store(false);
    if (sendQueue_ && recvQueue_ && sendBlock_ && recvBlock_) return true;
    freeQueues();
    return false;
}

bool WAsync::startThreads(std::function<void()> sendBody, std::function<void()> recvBody,
                          std::function<void()> waitBody) {
    stop_.store(false, std::memory_order_release);
    lost_.store(false, std::memory_order_release);
    try {
        if (sendBody) sendThread_ = std::thread(std::move(sendBody));
        if (recvBody) recvThread_ = std::thread(std::move(recvBody));
        if (waitBody) waitThread_ = std::thread(std::move(waitBody));
    } catch (const std::system_error&) {
        return false;
    }
    return true;
}

void WAsync::stopThreads() {
    dovaTrace("DOVA: WAsync::stopThreads()\n");
    joinWorkers();
}

void WAsync::joinWorkers() {
    stop_.store(true, std::memory_order_release);
    if (stopEvent_.valid()) stopEvent_.set();
    for (std::thread* t : {&sendThread_, &recvThread_, &waitThread_}) {
        if (!t->joinable()) continue;
        try {
            t->join();
        } catch (const std::system_error& e) {
            // Only a worker joining itself gets here; let it end on its own.
            dovaTrace("DOVA: WAIT_FAILED %d\n", e.code().value());
            t->detach();
        }
    }
}

void WAsync::freeQueues() {
    sendBlock_.reset();
    recvBlock_.reset();
    sendPosition_ = nullptr;
    sendRemaining_.store(0);
    sendQueue_.reset();
    recvQueue_.reset();
}

void WAsync::closeEvents() {
    stopEvent_.close();
    sendEvent_.close();
}

void WAsync::markDeviceLost() {
    {
        // Under the send lock, so a drain between its look and its wait
        // cannot miss it.
        std::lock_guard<std::mutex> guard(sendLock_);
        lost_.store(true, std::memory_order_release);
    }
    sendProgress_.notify_all();
}

void WAsync::waitForStop() {
    while (!stopping()) {
        if (os::waitAny({{stopEvent_.waitHandle(), os::Want::Read}}, os::kWaitInfinite) ==
            os::kWaitFailed) {
            dovaTrace("DOVA: WAIT_FAILED %d\n", os::lastError());
            return;
        }
    }
}

// Waits up to ms on the stop event alone; true when stopped.
bool WAsync::pauseUnlessStopped(uint32_t ms) {
    int r = os::waitAny({{stopEvent_.waitHandle(), os::Want::Read}}, ms);
    return r == 0 || stopping();
}

bool WAsync::fetchBlock(uint32_t* tagB, uint32_t* tagC, uint32_t* purgesAtFetch) {
    std::lock_guard<std::mutex> guard(sendLock_);
    for (;;) {
        uint32_t n = 0;
        sendQueue_->get(sendBlock_.get(), activeSendBlockSize_, &n, nullptr, tagB, tagC);
        sendRemaining_.store(n);
        sendPosition_ = sendBlock_.get();
        *purgesAtFetch = purges_;
        if (n != 0) return true;
        // Idle from here; look once more after saying so (the fence pairs
        // with the one in send), so a byte queued meanwhile is not left
        // waiting. When send took the idle mark back, it also raised the
        // send event: the worker's wait then returns at once.
        senderIdle_.store(true);
        std::atomic_thread_fence(std::memory_order_seq_cst);
        if (sendQueue_->count() == 0 || !senderIdle_.exchange(false)) return false;
    }
}

bool WAsync::writeBlock(uint32_t tagB, uint32_t tagC, uint32_t purgesAtFetch) {
    while (sendRemaining_.load() != 0) {
        if (sendHeld()) {
            if (pauseUnlessStopped(kIdlePauseMs)) return false;
            continue;
        }
        const TransferResult r = transfer_->write(sendPosition_, sendRemaining_.load(), stopEvent_);
        if (r.count > 0) {
            bool counted = false;
            {
                std::lock_guard<std::mutex> guard(sendLock_);
                // A purge while the write ran abandoned this block.
                if (purges_ == purgesAtFetch) {
                    sendPosition_ += r.count;
                    sendRemaining_.store(sendRemaining_.load() - r.count);
                    counted = true;
                }
            }
            if (counted) {
                sendProgress_.notify_all();
                if (owner_.sendHook) owner_.sendHook(&owner_, r.count, tagB, tagC);
            }
        }
        if (stopping() || r.status == TransferStatus::Stopped) return false;
        if (r.status == TransferStatus::Failed) {
            if (transfer_->failureIsPermanent(r.error)) {
                // Nothing queued can leave any more: stop trying and let
                // release see it at once instead of waiting out the drain.
                markDeviceLost();
                waitForStop();
                return false;
            }
            if (pauseUnlessStopped(kRetryPauseMs)) return false;
        }
    }
    return true;
}

void WAsync::runSendWorker(const char* startLine, const char* endLine) {
    dovaTrace("%s", startLine);
    uint32_t tagB = 0, tagC = 0, purgesAtFetch = 0;
    while (!stopping()) {
        if (sendRemaining_.load() != 0 || fetchBlock(&tagB, &tagC, &purgesAtFetch)) {
            if (stopping() || !writeBlock(tagB, tagC, purgesAtFetch)) break;
            continue;
        }
        int r = os::waitAny(
            {{stopEvent_.waitHandle(), os::Want::Read}, {sendEvent_.waitHandle(), os::Want::Read}},
            os::kWaitInfinite);
        if (r == 1) {
            sendEvent_.reset();
            gatherBlock();
        }
        if (r == os::kWaitFailed) dovaTrace("DOVA: WAIT_FAILED %d\n", os::lastError());
    }
    dovaTrace("%s", endLine);
}

void WAsync::gatherBlock() {
    senderGathering_.store(true);
    std::atomic_thread_fence(std::memory_order_seq_cst);
    if (queuedNow() < activeSendBlockSize_) {
        int r = os::waitAny(
            {{stopEvent_.waitHandle(), os::Want::Read}, {sendEvent_.waitHandle(), os::Want::Read}},
            kGatherMs);
        if (r == 1) sendEvent_.reset();
    }
    senderGathering_.store(false);
}

uint32_t WAsync::storeReceived(const void* data, uint32_t length) {
    uint32_t stored = 0;
    {
        std::lock_guard<std::mutex> guard(recvLock_);
        if (!recvQueue_) return 0;
        // A full ring takes what fits; the rest is dropped.
        recvQueue_->put(data, length, &stored, 0, 0, 0);
    }
    if (owner_.recvHook) owner_.recvHook(&owner_, stored);
    return stored;
}

TransferResult WAsync::readAndStore(bool* ended) {
    *ended = false;
    const TransferResult r = transfer_->read(recvBlock_.get(), activeRecvBlockSize_, stopEvent_);
    if (r.status != TransferStatus::Done) return r;
    if (r.count == 0) {
        *ended = transfer_->zeroReadEndsStream();
        return r;
    }
    storeReceived(recvBlock_.get(), r.count);
    return r;
}

void WAsync::runRecvWorker(const char* startLine, const char* endLine, uint32_t idlePauseMs) {
    dovaTrace("%s", startLine);
    while (!stopping()) {
        bool ended = false;
        const TransferResult r = readAndStore(&ended);
        if (stopping() || r.status == TransferStatus::Stopped) break;
        const bool permanent =
            r.status == TransferStatus::Failed && transfer_->failureIsPermanent(r.error);
        if (r.status == TransferStatus::Failed) onReadFailed(r.error);
        if (permanent) markDeviceLost();
        if (ended || permanent) {
            // The peer has finished (or the device is gone): nothing more can
            // arrive, and reading again would only spin.
            waitForStop();
            break;
        }
        if (r.status == TransferStatus::Failed)
            pauseUnlessStopped(kRetryPauseMs);
        else if (r.count == 0)
            pauseUnlessStopped(idlePauseMs);
    }
    dovaTrace("%s", endLine);
}

void WAsync::runSocketWaitWorker(const char* startLine, const char* endLine, intptr_t socket) {
    dovaTrace("%s", startLine);
    // A connected socket can take data at once, which its first event says:
    // the wait for it returns at once with the socket's event.
    dovaTrace("DOVA: WaitForMulti()=%d\n", 1);
    dovaTrace("DOVA:  FD_WRITE %d\n", 0);
    while (!stopping()) {
        int r = os::waitAny({{stopEvent_.waitHandle(), os::Want::Read}, {socket, os::Want::Read}},
                            os::kWaitInfinite);
        dovaTrace("DOVA: WaitForMulti()=%d\n", traceWaitResult(r));
        if (r == 0) break;
        if (r == os::kWaitFailed) {
            dovaTrace("DOVA: WAIT_FAILED %d\n", os::lastError());
            if (pauseUnlessStopped(50)) break;
            continue;
        }
        int pending = os::socketPending(socket);
        if (pending < 0 && os::errorWouldBlock(os::lastError())) continue;
        if (pending > 0) {
            dovaTrace("DOVA:  FD_READ %d\n", 0);
            bool ended = false;
            readAndStore(&ended);
            continue;
        }
        // The printer closed or the connection broke: nothing more arrives.
        const int error = pending == 0 ? 0 : os::lastError();
        if (transfer_->failureIsPermanent(error)) markDeviceLost();
        dovaTrace("DOVA:  FD_CLOSE %d\n", error);
        waitForStop();
        break;
    }
    dovaTrace("%s", endLine);
}

void WAsync::runWatchWorker(const char* startLine, const char* endLine, uint32_t periodMs,
                            const std::function<void()>& check) {
    dovaTrace("%s", startLine);
    while (!stopping()) {
        check();
        if (pauseUnlessStopped(periodMs)) break;
    }
    dovaTrace("%s", endLine);
}

void WAsync::raiseLineEvents(uint32_t eventMask) {
    if (eventMask != 0 && owner_.lineHook) owner_.lineHook(&owner_, eventMask, 0);
}
