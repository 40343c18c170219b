#include "engine/ring_buf.h"

#include <algorithm>
#include <cstring>
#include <new>

int32_t CRingBuf::put(const void* source, uint32_t length, uint32_t* accepted, uint32_t, uint32_t,
                      uint32_t) {
    const uint32_t w = write_.load(std::memory_order_relaxed);
    const uint32_t n = std::min(length, size_ - (w - read_.load(std::memory_order_acquire)));
    // Copy in at most two runs: up to the end of the storage, then from its start.
    auto src = static_cast<const uint8_t*>(source);
    const uint32_t at = size_ ? w & (size_ - 1) : 0;
    const uint32_t first = std::min(n, size_ - at);
    if (first) std::memcpy(storage_.get() + at, src, first);
    if (n > first) std::memcpy(storage_.get(), src + first, n - first);
    write_.store(w + n, std::memory_order_release);
    if (accepted) *accepted = n;
    return 0;
}

int32_t CRingBuf::peek(const uint8_t** data, uint32_t* offset, uint32_t* count, uint32_t* tagA,
                       uint32_t* tagB, uint32_t* tagC) {
    const uint32_t r = read_.load(std::memory_order_relaxed);
    if (data) *data = storage_.get();
    if (offset) *offset = size_ ? r & (size_ - 1) : 0;
    if (count) *count = write_.load(std::memory_order_acquire) - r;
    if (tagA) *tagA = 0;
    if (tagB) *tagB = 0;
    if (tagC) *tagC = 0;
    return 0;
}

void CRingBuf::skip(uint32_t n) {
    const uint32_t r = read_.load(std::memory_order_relaxed);
    n = std::min(n, write_.load(std::memory_order_acquire) - r);
    read_.store(r + n, std::memory_order_release);
}

void CRingBuf::get(void* destination, uint32_t maximum, uint32_t* taken, uint32_t* tagA,
                   uint32_t* tagB, uint32_t* tagC) {
    const uint32_t r = read_.load(std::memory_order_relaxed);
    const uint32_t n = std::min(maximum, write_.load(std::memory_order_acquire) - r);
    auto dst = static_cast<uint8_t*>(destination);
    const uint32_t at = size_ ? r & (size_ - 1) : 0;
    const uint32_t first = std::min(n, size_ - at);
    if (first) std::memcpy(dst, storage_.get() + at, first);
    if (n > first) std::memcpy(dst + first, storage_.get(), n - first);
    read_.store(r + n, std::memory_order_release);
    if (taken) *taken = n;
    if (tagA) *tagA = 0;
    if (tagB) *tagB = 0;
    if (tagC) *tagC = 0;
}

void CRingBuf::clear() {
    read_.store(write_.load(std::memory_order_acquire), std::memory_order_release);
}

void* CRingBuf::setCapacity(uint32_t bytes) {
    storage_.reset();
    size_ = 0;
    write_.store(0);
    read_.store(0);
    storage_.reset(new (std::nothrow) uint8_t[bytes ? bytes : 1]);
    if (!storage_) return nullptr;
    size_ = bytes;
    return storage_.get();
}
