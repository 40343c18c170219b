// The byte queues of the worker-thread engine.
#include "engine/list_queue.h"
#include "engine/ring_buf.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <thread>
#include <vector>

namespace {

std::vector<uint8_t> pattern(size_t n, uint8_t start = 0) {
    std::vector<uint8_t> v(n);
    std::iota(v.begin(), v.end(), start);
    return v;
}

TEST(CRingBuf, RefusesWhatDoesNotFitAndWrapsWithoutLoss) {
    CRingBuf ring;
    ASSERT_NE(ring.setCapacity(16), nullptr);
    auto data = pattern(20);
    uint32_t accepted = 99;
    ring.put(data.data(), 20, &accepted, 1, 2, 3);
    EXPECT_EQ(accepted, 16u);
    EXPECT_EQ(ring.space(), 0);

    // Take 10, put 8 more: the write index wraps past the end of the storage.
    uint8_t out[32];
    uint32_t taken = 0, a = 9, b = 9, c = 9;
    ring.get(out, 10, &taken, &a, &b, &c);
    ASSERT_EQ(taken, 10u);
    EXPECT_EQ(std::vector<uint8_t>(out, out + 10), pattern(10));
    EXPECT_EQ(a + b + c, 0u) << "a ring stores no tags";
    auto more = pattern(8, 100);
    ring.put(more.data(), 8, &accepted, 0, 0, 0);
    EXPECT_EQ(accepted, 8u);
    EXPECT_EQ(ring.count(), 14u);

    ring.get(out, 32, &taken, nullptr, nullptr, nullptr);
    ASSERT_EQ(taken, 14u);
    std::vector<uint8_t> expect = pattern(6, 10);
    expect.insert(expect.end(), more.begin(), more.end());
    EXPECT_EQ(std::vector<uint8_t>(out, out + 14), expect);
    EXPECT_EQ(ring.count(), 0u);
}

TEST(CRingBuf, PeekSkipAndClear) {
    CRingBuf ring;
    ring.setCapacity(8);
    auto data = pattern(6);
    uint32_t accepted = 0;
    ring.put(data.data(), 6, &accepted, 0, 0, 0);
    ring.skip(4);
    const uint8_t* storage = nullptr;
    uint32_t offset = 0, count = 0;
    ring.peek(&storage, &offset, &count, nullptr, nullptr, nullptr);
    EXPECT_EQ(offset, 4u);
    EXPECT_EQ(count, 2u);
    EXPECT_EQ(storage[offset], 4);
    ring.clear();
    EXPECT_EQ(ring.count(), 0u);
    EXPECT_EQ(ring.capacity(), 8);
}

TEST(CRingBuf, OneThreadPutsWhileAnotherGetsWithoutALock) {
    // The send queue's use: the caller puts (byte by byte or in pieces), the
    // worker gets blocks, neither takes a lock. Every byte arrives once and
    // in order; ThreadSanitizer checks the indices' ordering.
    CRingBuf ring;
    ASSERT_NE(ring.setCapacity(64), nullptr);
    std::vector<uint8_t> data(200000);
    for (size_t i = 0; i < data.size(); ++i)
        data[i] = uint8_t(i * 31 + i / 7);
    std::thread producer([&] {
        size_t at = 0, piece = 1;
        while (at < data.size()) {
            uint32_t accepted = 0;
            if (piece == 1)
                accepted = ring.putByte(data[at]) ? 1 : 0;
            else
                ring.put(&data[at], uint32_t(std::min(piece, data.size() - at)), &accepted, 0, 0,
                         0);
            at += accepted;
            piece = piece % 37 + 1;
            if (!accepted) std::this_thread::yield();
        }
    });
    std::vector<uint8_t> got;
    uint8_t block[48];
    while (got.size() < data.size()) {
        uint32_t taken = 0;
        ring.get(block, sizeof block, &taken, nullptr, nullptr, nullptr);
        got.insert(got.end(), block, block + taken);
        if (!taken) std::this_thread::yield();
    }
    producer.join();
    EXPECT_TRUE(got == data);
    EXPECT_EQ(ring.count(), 0u);
}

TEST(CListQueue, KeepsBlocksApartWithTheirTags) {
    CListQueue list;
    auto first = pattern(10);
    auto second = pattern(10, 50);
    uint32_t accepted = 0;
    list.put(first.data(), 10, &accepted, 1, 2, 3);
    EXPECT_EQ(accepted, 10u);
    list.put(second.data(), 10, &accepted, 4, 5, 6);
    EXPECT_EQ(list.count(), 20u);
    EXPECT_EQ(list.space(), -1);

    // A get never crosses into the next block, even with room for it.
    uint8_t out[64];
    uint32_t taken = 0, a = 0, b = 0, c = 0;
    list.get(out, 4, &taken, &a, &b, &c);
    EXPECT_EQ(taken, 4u);
    EXPECT_EQ((std::vector<uint32_t>{a, b, c}), (std::vector<uint32_t>{1, 2, 3}));
    list.get(out, 64, &taken, &a, &b, &c);
    EXPECT_EQ(taken, 6u);
    EXPECT_EQ(std::vector<uint8_t>(out, out + 6), pattern(6, 4));
    list.get(out, 64, &taken, &a, &b, &c);
    EXPECT_EQ(taken, 10u);
    EXPECT_EQ((std::vector<uint32_t>{a, b, c}), (std::vector<uint32_t>{4, 5, 6}));
    list.get(out, 64, &taken, &a, &b, &c);
    EXPECT_EQ(taken, 0u);
}

TEST(CListQueue, PeekShowsTheFrontBlockAndSkipDropsIt) {
    CListQueue list;
    const uint8_t* data = reinterpret_cast<const uint8_t*>("x");
    uint32_t offset = 7, count = 7;
    list.peek(&data, &offset, &count, nullptr, nullptr, nullptr);
    EXPECT_EQ(data, nullptr);
    EXPECT_EQ(count, 0u);

    auto block = pattern(5);
    uint32_t accepted = 0;
    list.put(block.data(), 5, &accepted, 7, 8, 9);
    list.put(block.data(), 3, &accepted, 0, 0, 0);
    uint32_t b = 0;
    list.peek(&data, &offset, &count, nullptr, &b, nullptr);
    EXPECT_EQ(count, 5u);
    EXPECT_EQ(b, 8u);
    list.skip(5);
    list.peek(&data, &offset, &count, nullptr, &b, nullptr);
    EXPECT_EQ(count, 3u);
    EXPECT_EQ(list.count(), 3u);
    list.clear();
    EXPECT_EQ(list.count(), 0u);
}

} // namespace
