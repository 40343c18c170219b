// The DovaBase operations that a worker-thread port serves from its WAsync
// part. A port class deriving from a DovaBase backend and WAsync puts
// DOVA_WASYNC_PORT_OPERATIONS in its public section: one list for every such
// backend, so that none forgets an operation and falls back to a default.
//
// A family that refines some of them (serial and parallel ports flush the
// driver before purging; a USB family serves the buffer sizes itself) puts
// the groups it keeps instead of the whole list and writes its own
// operations for the rest, calling the WAsync ones where it adds to them.
#pragma once

#include "engine/wasync.h"

// send, recv, the two counts and the drain of release.
#define DOVA_WASYNC_DATA_OPERATIONS                                                                \
    int32_t send(const void* data, uint32_t length, uint32_t* written, uint32_t tagA,              \
                 uint32_t tagB, uint32_t tagC) override {                                          \
        return WAsync::send(data, length, written, tagA, tagB, tagC);                              \
    }                                                                                              \
    int32_t recv(void* buffer, uint32_t size, uint32_t* read, uint32_t reserved) override {        \
        return WAsync::recv(buffer, size, read, reserved);                                         \
    }                                                                                              \
    int32_t getSendCount(uint32_t* count) override {                                               \
        return WAsync::getSendCount(count);                                                        \
    }                                                                                              \
    int32_t getRecvCount(uint32_t* count) override {                                               \
        return WAsync::getRecvCount(count);                                                        \
    }                                                                                              \
    int32_t waitSendDone(int32_t timeout) override {                                               \
        return WAsync::waitSendDone(timeout);                                                      \
    }

#define DOVA_WASYNC_PURGE_OPERATIONS                                                               \
    int32_t purgeSend() override {                                                                 \
        return WAsync::purgeSend();                                                                \
    }                                                                                              \
    int32_t purgeRecv() override {                                                                 \
        return WAsync::purgeRecv();                                                                \
    }

#define DOVA_WASYNC_QUEUE_TYPE_OPERATIONS                                                          \
    int32_t getSendQueueType(int32_t* type) override {                                             \
        return WAsync::getSendQueueType(type);                                                     \
    }                                                                                              \
    int32_t setSendQueueType(int32_t type) override {                                              \
        return WAsync::setSendQueueType(type);                                                     \
    }                                                                                              \
    int32_t getRecvQueueType(int32_t* type) override {                                             \
        return WAsync::getRecvQueueType(type);                                                     \
    }                                                                                              \
    int32_t setRecvQueueType(int32_t type) override {                                              \
        return WAsync::setRecvQueueType(type);                                                     \
    }

#define DOVA_WASYNC_SIZE_OPERATIONS                                                                \
    uint32_t getSendBufferSize() override {                                                        \
        return WAsync::getSendBufferSize();                                                        \
    }                                                                                              \
    uint32_t getRecvBufferSize() override {                                                        \
        return WAsync::getRecvBufferSize();                                                        \
    }                                                                                              \
    uint32_t getSendBlockSize() override {                                                         \
        return WAsync::getSendBlockSize();                                                         \
    }                                                                                              \
    uint32_t getRecvBlockSize() override {                                                         \
        return WAsync::getRecvBlockSize();                                                         \
    }                                                                                              \
    int32_t setSendBufferSize(uint32_t bytes) override {                                           \
        return WAsync::setSendBufferSize(bytes);                                                   \
    }                                                                                              \
    int32_t setRecvBufferSize(uint32_t bytes) override {                                           \
        return WAsync::setRecvBufferSize(bytes);                                                   \
    }                                                                                              \
    int32_t setSendBlockSize(uint32_t bytes) override {                                            \
        return WAsync::setSendBlockSize(bytes);                                                    \
    }                                                                                              \
    int32_t setRecvBlockSize(uint32_t bytes) override {                                            \
        return WAsync::setRecvBlockSize(bytes);                                                    \
    }

#define DOVA_WASYNC_PORT_OPERATIONS                                                                \
    DOVA_WASYNC_DATA_OPERATIONS                                                                    \
    DOVA_WASYNC_PURGE_OPERATIONS                                                                   \
    DOVA_WASYNC_QUEUE_TYPE_OPERATIONS                                                              \
    DOVA_WASYNC_SIZE_OPERATIONS
