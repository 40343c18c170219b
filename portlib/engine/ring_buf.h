// CRingBuf: queue kind 0. A fixed ring of a power-of-two size (both indices
// wrap by masking). It refuses what does not fit instead of growing, and
// stores no tags: every get reports tags of 0.
//
// One thread may put while another gets, without a lock: the indices are
// atomic and run freely (their difference is the count), the producer alone
// moves the write index and the consumer alone the read index. clear, skip
// and get are the consumer's; a caller that clears from the producer's
// thread holds the lock the consumer gets under, and puts nothing meanwhile.
#pragma once

#include "engine/data_mgr.h"

#include <atomic>
#include <memory>

class CRingBuf final : public CDataMgr {
public:
    int32_t put(const void* source, uint32_t length, uint32_t* accepted, uint32_t tagA,
                uint32_t tagB, uint32_t tagC) override;
    int32_t peek(const uint8_t** data, uint32_t* offset, uint32_t* count, uint32_t* tagA,
                 uint32_t* tagB, uint32_t* tagC) override;
    void skip(uint32_t n) override;
    void get(void* destination, uint32_t maximum, uint32_t* taken, uint32_t* tagA, uint32_t* tagB,
             uint32_t* tagC) override;
    void clear() override;
    uint32_t count() const override {
        return write_.load(std::memory_order_acquire) - read_.load(std::memory_order_acquire);
    }
    int32_t space() const override { return int32_t(size_ - count()); }
    int32_t capacity() const override { return int32_t(size_); }
    // bytes must be a power of two (WAsync refuses other sizes). Not while
    // another thread uses the ring.
    void* setCapacity(uint32_t bytes) override;

    // The one-byte put of the byte-by-byte sender, kept inline.
    bool putByte(uint8_t byte) {
        const uint32_t w = write_.load(std::memory_order_relaxed);
        if (w - read_.load(std::memory_order_acquire) >= size_) return false;
        storage_[w & (size_ - 1)] = byte;
        write_.store(w + 1, std::memory_order_release);
        return true;
    }

private:
    // Each index on a cache line of its own: the producer writes one and the
    // consumer the other, byte by byte, and sharing a line would make every
    // byte bounce it between the two cores.
    std::unique_ptr<uint8_t[]> storage_;
    uint32_t size_ = 0;
    alignas(64) std::atomic<uint32_t> write_{0};
    alignas(64) std::atomic<uint32_t> read_{0};
};
