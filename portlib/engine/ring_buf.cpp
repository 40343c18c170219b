#include "engine/ring_buf.h"

#include <algorithm>
#include <cstring>
#include <new>

int32_t CRingBuf::put(const void* source, uint32_t length, uint32_t* accepted, uint32_t, uint32_t,
                      uint32_t) {
    if (length == 1 && count_ < size_) {
        // The send tool's script mode sends byte by byte: keep that path short.
        storage_[write_] = *static_cast<const uint8_t*>(source);
        write_ = (write_ + 1) & (size_ - 1);
        ++count_;
        if (accepted) *accepted = 1;
        return 0;
    }
    uint32_t n = std::min(length, size_ - count_);
    // Copy in at most two runs: up to the end of the storage, then from its start.
    auto src = static_cast<const uint8_t*>(source);
    uint32_t first = std::min(n, size_ - write_);
    if (first) std::memcpy(storage_.get() + write_, src, first);
    if (n > first) std::memcpy(storage_.get(), src + first, n - first);
    if (size_) write_ = (write_ + n) & (size_ - 1);
    count_ += n;
    if (accepted) *accepted = n;
    return 0;
}

int32_t CRingBuf::peek(const uint8_t** data, uint32_t* offset, uint32_t* count, uint32_t* tagA,
                       uint32_t* tagB, uint32_t* tagC) {
    if (data) *data = storage_.get();
    if (offset) *offset = read_;
    if (count) *count = count_;
    if (tagA) *tagA = 0;
    if (tagB) *tagB = 0;
    if (tagC) *tagC = 0;
    return 0;
}

void CRingBuf::skip(uint32_t n) {
    n = std::min(n, count_);
    count_ -= n;
    if (size_) read_ = (read_ + n) & (size_ - 1);
}

void CRingBuf::get(void* destination, uint32_t maximum, uint32_t* taken, uint32_t* tagA,
                   uint32_t* tagB, uint32_t* tagC) {
    uint32_t n = std::min(maximum, count_);
    auto dst = static_cast<uint8_t*>(destination);
    uint32_t first = std::min(n, size_ - read_);
    if (first) std::memcpy(dst, storage_.get() + read_, first);
    if (n > first) std::memcpy(dst + first, storage_.get(), n - first);
    skip(n);
    if (taken) *taken = n;
    if (tagA) *tagA = 0;
    if (tagB) *tagB = 0;
    if (tagC) *tagC = 0;
}

void CRingBuf::clear() {
    write_ = read_ = count_ = 0;
}

void* CRingBuf::setCapacity(uint32_t bytes) {
    storage_.reset();
    size_ = 0;
    clear();
    storage_.reset(new (std::nothrow) uint8_t[bytes ? bytes : 1]);
    if (!storage_) return nullptr;
    size_ = bytes;
    return storage_.get();
}
