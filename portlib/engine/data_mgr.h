// CDataMgr: a queue of bytes between a port's caller and its worker threads.
// Every stored block may carry three 32-bit tags (A, B, C) passed through from
// send to the send-progress hook. Not thread-safe: WAsync guards each queue
// with its own lock.
#pragma once

#include <cstdint>

class CDataMgr {
public:
    CDataMgr() = default;
    CDataMgr(const CDataMgr&) = delete;
    CDataMgr& operator=(const CDataMgr&) = delete;
    virtual ~CDataMgr() = default;

    // Stores what fits and reports it in *accepted (a ring takes only what fits,
    // a list takes all or, when memory runs out, nothing). Result unused.
    virtual int32_t put(const void* source, uint32_t length, uint32_t* accepted, uint32_t tagA,
                        uint32_t tagB, uint32_t tagC) = 0;
    // The stored bytes without taking them: storage, offset of the first byte
    // in it, and the count from there (a ring's count may wrap past the end of
    // its storage). Tag pointers may be null. Result unused.
    virtual int32_t peek(const uint8_t** data, uint32_t* offset, uint32_t* count, uint32_t* tagA,
                         uint32_t* tagB, uint32_t* tagC) = 0;
    // Drops n bytes from the front (at most what peek reported).
    virtual void skip(uint32_t n) = 0;
    // Takes up to maximum bytes from the front; a list never crosses a block
    // boundary in one get. Tag pointers may be null.
    virtual void get(void* destination, uint32_t maximum, uint32_t* taken, uint32_t* tagA,
                     uint32_t* tagB, uint32_t* tagC) = 0;
    virtual void clear() = 0;
    virtual uint32_t count() const = 0;
    // Free bytes and storage size; -1 for a queue without limit.
    virtual int32_t space() const = 0;
    virtual int32_t capacity() const = 0;
    // Replaces the storage (a ring; empties it): the new storage, or null when
    // it could not be allocated or the queue has no fixed storage.
    virtual void* setCapacity(uint32_t bytes) = 0;
};
