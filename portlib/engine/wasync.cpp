#include "engine/wasync.h"

#include "dova_base.h"
#include "engine/list_queue.h"
#include "engine/ring_buf.h"
#include "os/os_io.h"
#include "os/os_wait.h"
#include "trace.h"

#include <dova/dova.h>

#include <cerrno>
#include <new>
#include <system_error>

namespace {

bool powerOfTwo(uint32_t n) {
    return n != 0 && (n & (n - 1)) == 0;
}

// A failed transfer that is not the end of the connection is retried after
// this pause, so that a device stuck in an error does not spin a core.
constexpr uint32_t kRetryPauseMs = 50;

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
    closeEngine();
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
    uint32_t taken = 0;
    if (accepted) *accepted = 0;
    if (!sendQueue_) return DOVA_E_WRITE;
    bool wake = false;
    {
        std::lock_guard<std::mutex> guard(sendLock_);
        sendQueue_->put(data, length, &taken, tagA, tagB, tagC);
        // Signal only a worker that found the queue empty and went to wait:
        // a caller sending byte by byte must not pay a system call per byte.
        if (taken &&
            (senderIdle_ || (senderGathering_ && sendQueue_->count() >= activeSendBlockSize_))) {
            senderIdle_ = false;
            senderGathering_ = false;
            wake = true;
        }
    }
    if (accepted) *accepted = taken;
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

int32_t WAsync::getSendCount(uint32_t* count) {
    if (!sendQueue_) return DOVA_E_QUEUE;
    if (!count) return DOVA_E_PARAM;
    std::lock_guard<std::mutex> guard(sendLock_);
    *count = sendQueue_->count() + sendRemaining_.load();
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
    std::lock_guard<std::mutex> guard(sendLock_);
    sendRemaining_.store(0);
    ++purges_;
    sendQueue_->clear();
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

int32_t WAsync::openEngine() {
    if (!createEvents()) return DOVA_E_EVENT;
    if (!createQueues()) return DOVA_E_QUEUE;
    return DOVA_OK;
}

void WAsync::closeEngine() {
    stopThreads();
    freeQueues();
    closeEvents();
}

bool WAsync::createEvents() {
    stopEvent_ = os::Event::create();
    sendEvent_ = os::Event::create();
    return stopEvent_.valid() && sendEvent_.valid();
}

bool WAsync::createQueues() {
    sendQueue_ = makeQueue(sendQueueType_, sendBufferSize_);
    recvQueue_ = makeQueue(recvQueueType_, recvBufferSize_);
    activeSendBlockSize_ = sendBlockSize_;
    activeRecvBlockSize_ = recvBlockSize_;
    sendBlock_.reset(new (std::nothrow) uint8_t[activeSendBlockSize_]);
    recvBlock_.reset(new (std::nothrow) uint8_t[activeRecvBlockSize_]);
    sendRemaining_.store(0);
    sendPosition_ = sendBlock_.get();
    senderIdle_ = false;
    senderGathering_ = false;
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
    if (!sendThread_.joinable() && !recvThread_.joinable() && !waitThread_.joinable()) return;
    dovaTrace("DOVA: WAsync::stopThreads()\n");
    stop_.store(true, std::memory_order_release);
    stopEvent_.set();
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

void WAsync::waitForStop() {
    while (!stopping()) {
        if (os::waitAny({{stopEvent_.waitHandle(), os::Want::Read}}, os::kWaitInfinite) ==
            os::kWaitFailed) {
            dovaTrace("DOVA: WAIT_FAILED %d\n", os::lastError());
            return;
        }
    }
}

bool WAsync::writePrimitive(intptr_t handle, Device device, const void* data, uint32_t length,
                            uint32_t* written, int* error) {
    *written = 0;
    *error = 0;
    for (;;) {
        long n = device == Device::Socket ? os::socketSendSome(handle, data, length)
                                          : os::fileWriteSome(handle, data, length);
        if (n >= 0) {
            *written = uint32_t(n);
            return true;
        }
        int code = os::lastError();
        if (!os::errorWouldBlock(code)) {
            if (device == Device::File) dovaTrace("DOVA: WriteFile dwErr=%d\n", code);
            *error = code;
            return false;
        }
        int r = os::waitAny({{stopEvent_.waitHandle(), os::Want::Read}, {handle, os::Want::Write}},
                            os::kWaitInfinite);
        if (r == 0) {
            dovaTrace("DOVA: WQuit\n");
            *error = 0;
            return false;
        }
        if (r == os::kWaitFailed) {
            *error = os::lastError();
            dovaTrace("DOVA: WAIT_FAILED %d\n", *error);
            return false;
        }
    }
}

bool WAsync::readPrimitive(intptr_t handle, Device device, void* buffer, uint32_t size,
                           uint32_t* read, int* error) {
    *read = 0;
    *error = 0;
    for (;;) {
        long n = device == Device::Socket ? os::socketRecvSome(handle, buffer, size)
                                          : os::fileReadSome(handle, buffer, size);
        if (n >= 0) {
            *read = uint32_t(n);
            return true;
        }
        int code = os::lastError();
        if (!os::errorWouldBlock(code)) {
            if (device == Device::File) dovaTrace("DOVA: ReadFile dwErr=%d\n", code);
            *error = code;
            return false;
        }
        int r = os::waitAny({{stopEvent_.waitHandle(), os::Want::Read}, {handle, os::Want::Read}},
                            os::kWaitInfinite);
        if (r == 0) {
            dovaTrace("DOVA: RQuit\n");
            *error = 0;
            return false;
        }
        if (r == os::kWaitFailed) {
            *error = os::lastError();
            dovaTrace("DOVA: WAIT_FAILED %d\n", *error);
            return false;
        }
    }
}

// Waits up to ms on the stop event alone; true when stopped.
bool WAsync::pauseUnlessStopped(uint32_t ms) {
    int r = os::waitAny({{stopEvent_.waitHandle(), os::Want::Read}}, ms);
    return r == 0 || stopping();
}

void WAsync::runSendWorker(const char* startLine, const char* endLine, intptr_t handle,
                           Device device) {
    dovaTrace("%s", startLine);
    uint32_t tagB = 0, tagC = 0;
    uint32_t purgesAtFetch = 0;
    while (!stopping()) {
        if (sendRemaining_.load() == 0) {
            std::lock_guard<std::mutex> guard(sendLock_);
            uint32_t n = 0;
            sendQueue_->get(sendBlock_.get(), activeSendBlockSize_, &n, nullptr, &tagB, &tagC);
            sendRemaining_.store(n);
            senderIdle_ = n == 0;
            sendPosition_ = sendBlock_.get();
            purgesAtFetch = purges_;
        }
        if (sendRemaining_.load() != 0) {
            if (stopping()) break;
            while (sendRemaining_.load() != 0) {
                uint32_t written = 0;
                int error = 0;
                bool done = writePrimitive(handle, device, sendPosition_, sendRemaining_.load(),
                                           &written, &error);
                if (written > 0) {
                    bool counted = false;
                    {
                        std::lock_guard<std::mutex> guard(sendLock_);
                        // A purge while the write ran abandoned this block.
                        if (purges_ == purgesAtFetch) {
                            sendPosition_ += written;
                            sendRemaining_.store(sendRemaining_.load() - written);
                            counted = true;
                        }
                    }
                    if (counted && owner_.sendHook) owner_.sendHook(&owner_, written, tagB, tagC);
                }
                if (stopping()) {
                    dovaTrace("%s", endLine);
                    return;
                }
                if (!done && error != 0) {
                    if (os::errorConnectionLost(error)) {
                        // Nothing queued can leave any more: stop trying and
                        // let release see it at once instead of waiting for
                        // the drain time-out.
                        lost_.store(true, std::memory_order_release);
                        waitForStop();
                        dovaTrace("%s", endLine);
                        return;
                    }
                    if (pauseUnlessStopped(kRetryPauseMs)) break;
                }
            }
        } else {
            int r = os::waitAny({{stopEvent_.waitHandle(), os::Want::Read},
                                 {sendEvent_.waitHandle(), os::Want::Read}},
                                os::kWaitInfinite);
            if (r == 1) sendEvent_.reset();
            if (r == os::kWaitFailed) dovaTrace("DOVA: WAIT_FAILED %d\n", os::lastError());
            if (r == 1) gatherBlock();
        }
    }
    dovaTrace("%s", endLine);
}

void WAsync::gatherBlock() {
    {
        std::lock_guard<std::mutex> guard(sendLock_);
        if (sendQueue_->count() >= activeSendBlockSize_) return;
        senderGathering_ = true;
    }
    int r = os::waitAny(
        {{stopEvent_.waitHandle(), os::Want::Read}, {sendEvent_.waitHandle(), os::Want::Read}},
        kGatherMs);
    if (r == 1) sendEvent_.reset();
    std::lock_guard<std::mutex> guard(sendLock_);
    senderGathering_ = false;
}

bool WAsync::readAndStore(intptr_t handle, Device device, bool* ended, int* error) {
    *ended = false;
    uint32_t n = 0;
    if (!readPrimitive(handle, device, recvBlock_.get(), activeRecvBlockSize_, &n, error))
        return false;
    if (n == 0) {
        *ended = true;
        return true;
    }
    uint32_t stored = 0;
    {
        std::lock_guard<std::mutex> guard(recvLock_);
        // A full ring takes what fits; the rest of the block is dropped.
        recvQueue_->put(recvBlock_.get(), n, &stored, 0, 0, 0);
    }
    if (owner_.recvHook) owner_.recvHook(&owner_, stored);
    return true;
}

void WAsync::runRecvWorker(const char* startLine, const char* endLine, intptr_t handle,
                           Device device) {
    dovaTrace("%s", startLine);
    while (!stopping()) {
        bool ended = false;
        int error = 0;
        bool done = readAndStore(handle, device, &ended, &error);
        if (stopping()) break;
        if (!done && os::errorConnectionLost(error)) lost_.store(true, std::memory_order_release);
        if (ended || (!done && os::errorConnectionLost(error))) {
            // The peer has finished (or the line is gone): nothing more can
            // arrive, and reading again would only spin.
            waitForStop();
            break;
        }
        if (!done) pauseUnlessStopped(kRetryPauseMs);
    }
    dovaTrace("%s", endLine);
}

void WAsync::runSocketWaitWorker(const char* startLine, const char* endLine, intptr_t socket) {
    dovaTrace("%s", startLine);
    // A connected socket can take data at once, which its first event says.
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
            int error = 0;
            readAndStore(socket, Device::Socket, &ended, &error);
            continue;
        }
        // The printer closed or the connection broke: nothing more arrives.
        const int error = pending == 0 ? 0 : os::lastError();
        if (os::errorConnectionLost(error)) lost_.store(true, std::memory_order_release);
        dovaTrace("DOVA:  FD_CLOSE %d\n", error);
        waitForStop();
        break;
    }
    dovaTrace("%s", endLine);
}
