// CRingBuf: queue kind 0. A fixed ring of a power-of-two size (both indices
// wrap by masking). It refuses what does not fit instead of growing, and
// stores no tags: every get reports tags of 0.
#pragma once

#include "engine/data_mgr.h"

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
    uint32_t count() const override { return count_; }
    int32_t space() const override { return int32_t(size_ - count_); }
    int32_t capacity() const override { return int32_t(size_); }
    // bytes must be a power of two (WAsync refuses other sizes).
    void* setCapacity(uint32_t bytes) override;

private:
    std::unique_ptr<uint8_t[]> storage_;
    uint32_t write_ = 0;
    uint32_t read_ = 0;
    uint32_t count_ = 0;
    uint32_t size_ = 0;
};
