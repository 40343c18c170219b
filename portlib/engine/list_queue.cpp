#include "engine/list_queue.h"

#include <algorithm>
#include <cstring>
#include <new>

int32_t CListQueue::put(const void* source, uint32_t length, uint32_t* accepted, uint32_t tagA,
                        uint32_t tagB, uint32_t tagC) {
    if (accepted) *accepted = 0;
    if (length == 0) return 0;
    std::unique_ptr<uint8_t[]> copy(new (std::nothrow) uint8_t[length]);
    if (!copy) return 0;
    std::memcpy(copy.get(), source, length);
    const uint8_t* next = copy.get();
    try {
        blocks_.push_back(Block{length, std::move(copy), length, next, tagA, tagB, tagC});
    } catch (const std::bad_alloc&) {
        return 0;
    }
    total_ += length;
    if (accepted) *accepted = length;
    return 0;
}

int32_t CListQueue::peek(const uint8_t** data, uint32_t* offset, uint32_t* count, uint32_t* tagA,
                         uint32_t* tagB, uint32_t* tagC) {
    if (offset) *offset = 0;
    if (blocks_.empty()) {
        if (data) *data = nullptr;
        if (count) *count = 0;
        return 0;
    }
    const Block& b = blocks_.front();
    if (data) *data = b.next;
    if (count) *count = b.remaining;
    if (tagA) *tagA = b.tagA;
    if (tagB) *tagB = b.tagB;
    if (tagC) *tagC = b.tagC;
    return 0;
}

void CListQueue::skip(uint32_t n) {
    if (blocks_.empty()) return;
    Block& b = blocks_.front();
    n = std::min(n, b.remaining);
    b.next += n;
    b.remaining -= n;
    total_ -= n;
    if (b.remaining == 0) blocks_.pop_front();
}

void CListQueue::get(void* destination, uint32_t maximum, uint32_t* taken, uint32_t* tagA,
                     uint32_t* tagB, uint32_t* tagC) {
    if (blocks_.empty()) {
        if (taken) *taken = 0;
        return;
    }
    Block& b = blocks_.front();
    uint32_t n = std::min(maximum, b.remaining);
    std::memcpy(destination, b.next, n);
    if (tagA) *tagA = b.tagA;
    if (tagB) *tagB = b.tagB;
    if (tagC) *tagC = b.tagC;
    if (taken) *taken = n;
    skip(n);
}

void CListQueue::clear() {
    blocks_.clear();
    total_ = 0;
}
