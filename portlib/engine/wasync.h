// WAsync: the worker-thread engine, the second base of every worker-thread
// port (suffix A, and the event-driven suffix E).
//
// The caller's thread never touches the device: send only copies into the
// send queue and recv only copies out of the receive queue. A send worker
// writes the send queue to the device in blocks of at most the send block
// size; a receive worker (or, in event-driven ports, a wait worker) reads the
// device into the receive queue, and data a library hands over on a thread of
// its own goes in through storeReceived. The backend supplies the transfer
// for its device (transfer.h), the thread bodies (built from the run*Worker
// bodies below) and the order of the engine steps in its claim and release;
// its family refines the engine through the hooks below.
//
// Locks: the send lock guards the send queue, the send remaining and the
// purge count; the receive lock guards the receive queue. No code holds both,
// and none holds a lock during device I/O or while a hook runs.
//
// Waiting: a worker blocked on the device also waits on the stop event, so
// release(0) ends every worker at once even when the peer takes no data.
//
// State: closed (no queues, blocks, events or threads; the operations answer
// with the codes below) or open. Queue kinds and sizes are fields that
// survive release and take effect at the next claim.
#pragma once

#include "engine/data_mgr.h"
#include "engine/transfer.h"
#include "os/os_event.h"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

class DovaBase;

class WAsync {
public:
    // port: the object whose hooks the workers call (the derived port itself).
    explicit WAsync(DovaBase& port);
    WAsync(const WAsync&) = delete;
    WAsync& operator=(const WAsync&) = delete;
    // The derived port's destructor has already released the port, so the
    // threads are gone; closes what is left.
    virtual ~WAsync();

    // ---- Sizes: fields read at the next claim. ----------------------------------
    // Defaults: send ring 262144, receive ring 1048576, blocks 4096.
    uint32_t getSendBufferSize() const { return sendBufferSize_; }
    uint32_t getRecvBufferSize() const { return recvBufferSize_; }
    uint32_t getSendBlockSize() const { return sendBlockSize_; }
    uint32_t getRecvBlockSize() const { return recvBlockSize_; }
    // Store and return 1. A ring size that is not a power of two, or a size of
    // 0, would break the ring's index masking: refused with 0, value kept.
    int32_t setSendBufferSize(uint32_t bytes);
    int32_t setRecvBufferSize(uint32_t bytes);
    int32_t setSendBlockSize(uint32_t bytes);
    int32_t setRecvBlockSize(uint32_t bytes);

    // ---- Queue operations a worker-thread port serves for DovaBase. --------------
    // Queues the bytes that fit (a ring may take fewer than offered: the caller
    // sends the rest again) and wakes the send worker. 1101 while closed.
    int32_t send(const void* data, uint32_t length, uint32_t* accepted, uint32_t tagA,
                 uint32_t tagB, uint32_t tagC);
    // Never waits: 0 bytes read means nothing has arrived. 1102 while closed.
    int32_t recv(void* buffer, uint32_t size, uint32_t* read, uint32_t reserved);
    // Queued plus the part of the current block not yet written. 1011 while closed.
    int32_t getSendCount(uint32_t* count);
    int32_t getRecvCount(uint32_t* count);
    // Drop what is queued (the block being written too). 1104 while closed.
    int32_t purgeSend();
    int32_t purgeRecv();
    // 0 ring buffer, 1 list queue; any other kind makes the next claim fail (1011).
    int32_t getSendQueueType(int32_t* type);
    int32_t setSendQueueType(int32_t type);
    int32_t getRecvQueueType(int32_t* type);
    int32_t setRecvQueueType(int32_t type);

    // The drain every worker-thread port's release starts with: waits while
    // the send count keeps falling and returns 0 once it is 0, or 1 after
    // more than `timeout` ms without progress (a negative time-out is the
    // very long unsigned time it stands for). Wakes as soon as the count
    // changes, and answers 1 at once when the device is lost, since nothing
    // queued can leave then. 0 at once for a time-out of 0.
    int32_t waitSendDone(int32_t timeout);

protected:
    // ---- Hooks a family overrides (called on the worker threads). ------------------
    // A read failed (with the transfer's code): serial ports clear the line's
    // error state here. Default: nothing.
    virtual void onReadFailed(int error);
    // While true the send worker holds its output (checked before each write,
    // then every few milliseconds): flow control the system does not do
    // itself, such as DTR/DSR. Default: false.
    virtual bool sendHeld();

    // ---- Engine steps, in the order claim uses them; release undoes them. --------
    // Stop event (manual) and send event; false when the system refuses one (1016).
    bool createEvents();
    // Both queues by kind and size, then both blocks; false frees all made (1011).
    bool createQueues();
    // Clears the stop flag and starts the given bodies (null ones are skipped)
    // in the send, receive, wait slots; false when a thread cannot start (1015).
    bool startThreads(std::function<void()> sendBody, std::function<void()> recvBody,
                      std::function<void()> waitBody);
    // Traces "DOVA: WAsync::stopThreads()" (at every stop step, workers or
    // none), sets the stop flag, raises the stop event and joins the send,
    // receive and wait worker in that order.
    void stopThreads();
    void freeQueues();
    void closeEvents();
    // The two resource steps of claim together: createEvents, then
    // createQueues. DOVA_OK, or the code of the step that failed (1016, 1011).
    int32_t openEngine();
    // What release does after the drain: stopThreads, freeQueues, closeEvents,
    // and the transfer is dropped.
    void closeEngine();
    // The whole release of a worker-thread port after its trace line:
    // waitSendDone(timeout); closeLine(drained) for the line's own closing
    // step (given the drain's result; it returns the result to keep, so a
    // graceful close that fails can turn 0 into 1); closeEngine; then, when
    // the result is still 0 but the device was lost meanwhile, 1 (a reset
    // the closing step did not see); closeDevice. Returns the kept result.
    int32_t releaseQueued(int32_t timeout, const std::function<int32_t(int32_t)>& closeLine,
                          const std::function<void()>& closeDevice);

    // The device's transfer, used by the worker bodies below; set before
    // startThreads, dropped by closeEngine after the workers stopped.
    void setTransfer(std::unique_ptr<DovaTransfer> transfer) { transfer_ = std::move(transfer); }
    DovaTransfer* transfer() const { return transfer_.get(); }

    // ---- Worker bodies shared by the backends. --------------------------------------
    // The send worker: fetch a block, write it through the transfer, report
    // each partial write to the send-progress hook, until stopped. A failure
    // the transfer calls permanent marks the device lost and ends the work.
    void runSendWorker(const char* startLine, const char* endLine);
    // The receive worker: read blocks into the receive queue until stopped;
    // a read of nothing from a device (not the end of a stream) is followed
    // by a pause of idlePauseMs before the next.
    static constexpr uint32_t kIdleReadPauseMs = 5;
    void runRecvWorker(const char* startLine, const char* endLine,
                       uint32_t idlePauseMs = kIdleReadPauseMs);
    // The wait worker of an event-driven socket port: sleeps until the socket
    // has data (stored as the receive worker stores it) or ends, tracing the
    // network events (FD_WRITE once at the start, FD_READ, FD_CLOSE).
    void runSocketWaitWorker(const char* startLine, const char* endLine, intptr_t socket);
    // A wait worker that watches the device's lines or status: calls check
    // every periodMs until stopped (a wait the stop event ends). check calls
    // raiseLineEvents with what changed.
    void runWatchWorker(const char* startLine, const char* endLine, uint32_t periodMs,
                        const std::function<void()>& check);
    // Passes line events to the owner's line hook, when one is set.
    void raiseLineEvents(uint32_t eventMask);
    // Stores bytes that arrived into the receive queue, as the receive worker
    // does (a full ring takes what fits), and calls the receive hook. Callable
    // from any one thread at a time besides the caller's: a library's own
    // callback thread delivers its data here.
    uint32_t storeReceived(const void* data, uint32_t length);
    // One read through the transfer into the receive block, stored. Returns
    // the read's result; *ended when the peer ended the stream.
    TransferResult readAndStore(bool* ended);
    // Blocks until the stop event is raised (a worker with nothing left to do).
    void waitForStop();
    // Waits up to ms for the stop event; true when stopping.
    bool pauseUnlessStopped(uint32_t ms);

    bool stopping() const { return stop_.load(std::memory_order_acquire); }
    // A worker found the device gone (a failed write, a reset seen by the
    // reader, an unplugged device): what is queued cannot leave, and what
    // left may not have arrived.
    bool deviceLost() const { return lost_.load(std::memory_order_acquire); }
    void markDeviceLost();
    const os::Event& stopEvent() const { return stopEvent_; }

private:
    // Called by the send worker after it woke on new data: waits a moment
    // for a full block unless one is there.
    void gatherBlock();
    // Fetches the next block from the send queue; false when it was empty
    // (the worker is then marked idle, so the next send wakes it).
    bool fetchBlock(uint32_t* tagB, uint32_t* tagC, uint32_t* purgesAtFetch);
    // Writes the fetched block; false when the worker is to end.
    bool writeBlock(uint32_t tagB, uint32_t tagC, uint32_t purgesAtFetch);
    uint32_t sendCountLocked() const;
    // What the send queue holds, taking the send lock where the queue needs it.
    uint32_t queuedNow();
    // Sets the stop flag, raises the stop event and joins the workers.
    void joinWorkers();

    DovaBase& owner_;
    std::unique_ptr<DovaTransfer> transfer_;

    std::mutex sendLock_;
    std::mutex recvLock_;
    int32_t sendQueueType_ = 0;
    int32_t recvQueueType_ = 0;
    std::unique_ptr<CDataMgr> sendQueue_;
    std::unique_ptr<CDataMgr> recvQueue_;
    uint32_t sendBufferSize_ = 0x40000;
    uint32_t recvBufferSize_ = 0x100000;
    uint32_t sendBlockSize_ = 4096;
    uint32_t recvBlockSize_ = 4096;
    std::unique_ptr<uint8_t[]> sendBlock_;
    uint32_t activeSendBlockSize_ = 0;
    const uint8_t* sendPosition_ = nullptr; // the send worker's alone
    // Read by the worker without the lock to decide whether to fetch a block.
    std::atomic<uint32_t> sendRemaining_{0};
    // Counts purgeSend calls, so that a write in progress while the caller
    // purges is not counted against the next block.
    uint32_t purges_ = 0;
    // A ring send queue takes the caller's bytes without the send lock (one
    // producer, one consumer): the byte-by-byte sender pays no lock per byte.
    bool lockFreeSend_ = false;
    // The send worker found the queue empty and waits for the send event.
    std::atomic<bool> senderIdle_{false};
    // The send worker waits a moment for a full block (gatherBlock).
    std::atomic<bool> senderGathering_{false};
    // Signalled whenever the send count falls or the device is lost: the
    // drain waits on it (with the send lock) instead of polling.
    std::condition_variable sendProgress_;
    std::unique_ptr<uint8_t[]> recvBlock_;
    uint32_t activeRecvBlockSize_ = 0;

    std::atomic<bool> stop_{false};
    std::atomic<bool> lost_{false};
    os::Event stopEvent_; // manual reset
    os::Event sendEvent_; // reset by the send worker when it wakes on it

    std::thread sendThread_;
    std::thread recvThread_;
    std::thread waitThread_;
};
