// WAsync: the worker-thread engine, the second base of every worker-thread
// port (suffix A, and the event-driven suffix E).
//
// The caller's thread never touches the device: send only copies into the
// send queue and recv only copies out of the receive queue. A send worker
// writes the send queue to the device in blocks of at most the send block
// size; a receive worker (or, in event-driven ports, a wait worker) reads the
// device into the receive queue. The backend supplies the device handle, the
// thread bodies (built from runSendWorker / runRecvWorker and the primitives
// below) and the order of the engine steps in its claim and release.
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
#include "os/os_event.h"

#include <atomic>
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

protected:
    // What kind of descriptor a worker reads and writes.
    enum class Device { Socket, File };

    // ---- Engine steps, in the order claim uses them; release undoes them. --------
    // Stop event (manual) and send event; false when the system refuses one (1016).
    bool createEvents();
    // Both queues by kind and size, then both blocks; false frees all made (1011).
    bool createQueues();
    // Clears the stop flag and starts the given bodies (null ones are skipped)
    // in the send, receive, wait slots; false when a thread cannot start (1015).
    bool startThreads(std::function<void()> sendBody, std::function<void()> recvBody,
                      std::function<void()> waitBody);
    // Sets the stop flag, raises the stop event and joins the send, receive and
    // wait worker in that order.
    void stopThreads();
    void freeQueues();
    void closeEvents();
    // The two resource steps of claim together: createEvents, then
    // createQueues. DOVA_OK, or the code of the step that failed (1016, 1011).
    int32_t openEngine();
    // What release does after the drain: stopThreads, freeQueues, closeEvents.
    void closeEngine();

    // ---- Worker bodies shared by the backends. --------------------------------------
    // The send worker: fetch a block, write it with the write primitive,
    // report each partial write to the send-progress hook, until stopped.
    void runSendWorker(const char* startLine, const char* endLine, intptr_t handle, Device device);
    // The receive worker: read blocks into the receive queue until stopped.
    void runRecvWorker(const char* startLine, const char* endLine, intptr_t handle, Device device);
    // The wait worker of an event-driven socket port: sleeps until the socket
    // has data (stored as the receive worker stores it) or ends, tracing the
    // network events (FD_WRITE once at the start, FD_READ, FD_CLOSE).
    void runSocketWaitWorker(const char* startLine, const char* endLine, intptr_t socket);
    // One read into the receive block, stored as the receive worker stores it.
    // Returns the read's outcome (see readPrimitive); *ended when the peer
    // ended the stream.
    bool readAndStore(intptr_t handle, Device device, bool* ended, int* error);
    // Blocks until the stop event is raised (a worker with nothing left to do).
    void waitForStop();
    // Called by the send worker after it woke on new data: waits a moment
    // for a full block unless one is there.
    void gatherBlock();
    // Waits up to ms for the stop event; true when stopping.
    bool pauseUnlessStopped(uint32_t ms);

    // ---- Primitives: the non-blocking form of overlapped I/O. ------------------------
    // Each tries the transfer and, while it would block, waits for the device
    // or the stop event. true when the transfer completed (with the count; a
    // read of 0 bytes is the end of the stream), false when stopped (*error 0)
    // or failed (*error the system's code).
    bool writePrimitive(intptr_t handle, Device device, const void* data, uint32_t length,
                        uint32_t* written, int* error);
    bool readPrimitive(intptr_t handle, Device device, void* buffer, uint32_t size, uint32_t* read,
                       int* error);

    bool stopping() const { return stop_.load(std::memory_order_acquire); }
    // A worker found the connection gone (a failed write, or a reset seen by
    // the reader): what is queued cannot leave, and what left may not have
    // arrived.
    bool deviceLost() const { return lost_.load(std::memory_order_acquire); }
    const os::Event& stopEvent() const { return stopEvent_; }

private:
    DovaBase& owner_;

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
    // The send worker found the queue empty and waits for the send event.
    bool senderIdle_ = false;
    // The send worker waits a moment for a full block (gatherBlock).
    bool senderGathering_ = false;
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
