// CListQueue: queue kind 1. Every send becomes a block of its own with its
// three tags; blocks are never merged, so a get never returns bytes of two
// sends and the send worker reports each block's tags. Never refuses data
// for lack of room (only when memory runs out).
#pragma once

#include "engine/data_mgr.h"

#include <deque>
#include <memory>

class CListQueue final : public CDataMgr {
public:
    int32_t put(const void* source, uint32_t length, uint32_t* accepted, uint32_t tagA,
                uint32_t tagB, uint32_t tagC) override;
    // The front block only: its next byte, offset 0, its remaining length.
    int32_t peek(const uint8_t** data, uint32_t* offset, uint32_t* count, uint32_t* tagA,
                 uint32_t* tagB, uint32_t* tagC) override;
    void skip(uint32_t n) override;
    void get(void* destination, uint32_t maximum, uint32_t* taken, uint32_t* tagA, uint32_t* tagB,
             uint32_t* tagC) override;
    void clear() override;
    uint32_t count() const override { return total_; }
    int32_t space() const override { return -1; }
    int32_t capacity() const override { return -1; }
    void* setCapacity(uint32_t) override { return nullptr; }

private:
    struct Block {
        uint32_t length;
        std::unique_ptr<uint8_t[]> data;
        uint32_t remaining;
        const uint8_t* next;
        uint32_t tagA, tagB, tagC;
    };
    std::deque<Block> blocks_;
    uint32_t total_ = 0;
};
