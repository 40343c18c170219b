// The worker-thread engine against a real peer: one end of a socket pair.
#include "pair_port.h"

#include <dova/dova.h>

#include <gtest/gtest.h>

#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <future>
#include <mutex>
#include <numeric>
#include <thread>
#include <tuple>
#include <vector>

namespace {

using namespace std::chrono_literals;

// What the hooks saw; the hooks are plain functions, so this is global.
struct HookLog {
    std::mutex lock;
    std::condition_variable changed;
    std::vector<std::tuple<uint32_t, uint32_t, uint32_t>> writes;
    uint32_t received = 0;

    void reset() {
        std::lock_guard<std::mutex> g(lock);
        writes.clear();
        received = 0;
    }
    bool waitWrites(size_t n) {
        std::unique_lock<std::mutex> g(lock);
        return changed.wait_for(g, 10s, [&] { return writes.size() >= n; });
    }
    bool waitReceived(uint32_t n) {
        std::unique_lock<std::mutex> g(lock);
        return changed.wait_for(g, 10s, [&] { return received >= n; });
    }
} hooks;

void onSend(DovaBase*, uint32_t written, uint32_t tagB, uint32_t tagC) {
    std::lock_guard<std::mutex> g(hooks.lock);
    hooks.writes.emplace_back(written, tagB, tagC);
    hooks.changed.notify_all();
}

void onRecv(DovaBase*, uint32_t stored) {
    std::lock_guard<std::mutex> g(hooks.lock);
    hooks.received += stored;
    hooks.changed.notify_all();
}

std::vector<uint8_t> pattern(size_t n) {
    std::vector<uint8_t> v(n);
    for (size_t i = 0; i < n; ++i)
        v[i] = uint8_t(i * 7 + i / 251);
    return v;
}

// Reads exactly n bytes from the peer, waiting at most 10 s for each piece.
std::vector<uint8_t> readPeer(int fd, size_t n) {
    std::vector<uint8_t> got;
    uint8_t buf[65536];
    while (got.size() < n) {
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, 10000) != 1) break;
        ssize_t r = ::read(fd, buf, std::min(sizeof buf, n - got.size()));
        if (r <= 0) break;
        got.insert(got.end(), buf, buf + r);
    }
    return got;
}

// Runs release on another thread so that a hang fails the test instead of
// blocking the suite; the bound is generous, this is not a speed check.
int32_t boundedRelease(PairPort& port, int32_t timeout, bool* finished) {
    auto f = std::async(std::launch::async, [&] { return port.release(timeout); });
    *finished = f.wait_for(20s) == std::future_status::ready;
    if (!*finished) std::abort(); // a stuck worker cannot be recovered from
    return f.get();
}

// Every case runs twice: with the descriptor transfer of the device
// families, and with a transfer that plays a library call the stop event
// cannot interrupt.
class WAsyncTest : public ::testing::TestWithParam<PairPrimitive> {
protected:
    void SetUp() override { hooks.reset(); }
    PairPort port{GetParam()};
};

TEST_P(WAsyncTest, ClosedPortAnswersWithTheMissingQueueCodes) {
    uint32_t n = 0;
    uint8_t buf[4];
    EXPECT_EQ(port.send("x", 1, &n, 0, 0, 0), DOVA_E_WRITE);
    EXPECT_EQ(port.recv(buf, 4, &n, 0), DOVA_E_READ);
    EXPECT_EQ(port.getSendCount(&n), DOVA_E_QUEUE);
    EXPECT_EQ(port.getRecvCount(&n), DOVA_E_QUEUE);
    EXPECT_EQ(port.purgeSend(), DOVA_E_PURGE);
    EXPECT_EQ(port.purgeRecv(), DOVA_E_PURGE);
    EXPECT_EQ(port.release(30000), 0);
}

TEST_P(WAsyncTest, SendIntoAnEmptyRingAcceptsItsCapacity) {
    port.setSmallBuffers(true);
    ASSERT_EQ(port.claim(0), 0);
    auto data = pattern(300000);
    uint32_t accepted = 0;
    EXPECT_EQ(port.send(data.data(), 300000, &accepted, 0, 0, 0), 0);
    EXPECT_EQ(accepted, 262144u);
}

TEST_P(WAsyncTest, ListQueueWritesEachSendAsItsOwnBlockWithItsTags) {
    port.setSendQueueType(1);
    port.sendHook = onSend;
    ASSERT_EQ(port.claim(0), 0);
    uint32_t accepted = 0;
    ASSERT_EQ(port.send("0123456789", 10, &accepted, 1, 2, 3), 0);
    ASSERT_EQ(port.send("abcdefghij", 10, &accepted, 4, 5, 6), 0);
    auto got = readPeer(port.peer(), 20);
    EXPECT_EQ(std::string(got.begin(), got.end()), "0123456789abcdefghij");
    ASSERT_TRUE(hooks.waitWrites(2));
    std::lock_guard<std::mutex> g(hooks.lock);
    using W = std::tuple<uint32_t, uint32_t, uint32_t>;
    EXPECT_EQ(hooks.writes, (std::vector<W>{W{10, 2, 3}, W{10, 5, 6}}));
}

TEST_P(WAsyncTest, RingQueueReportsZeroTags) {
    port.sendHook = onSend;
    ASSERT_EQ(port.claim(0), 0);
    uint32_t accepted = 0;
    ASSERT_EQ(port.send("abc", 3, &accepted, 7, 8, 9), 0);
    readPeer(port.peer(), 3);
    ASSERT_TRUE(hooks.waitWrites(1));
    std::lock_guard<std::mutex> g(hooks.lock);
    EXPECT_EQ(std::get<1>(hooks.writes[0]), 0u);
    EXPECT_EQ(std::get<2>(hooks.writes[0]), 0u);
}

TEST_P(WAsyncTest, RecvNeverWaitsAndDeliversWhatArrived) {
    port.recvHook = onRecv;
    ASSERT_EQ(port.claim(0), 0);
    uint8_t buf[16];
    uint32_t n = 99;
    EXPECT_EQ(port.recv(buf, sizeof buf, &n, 0), 0);
    EXPECT_EQ(n, 0u);
    ASSERT_EQ(::write(port.peer(), "status", 6), 6);
    ASSERT_TRUE(hooks.waitReceived(6));
    EXPECT_EQ(port.getRecvCount(&n), 0);
    EXPECT_EQ(n, 6u);
    EXPECT_EQ(port.recv(buf, sizeof buf, &n, 0), 0);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(buf), n), "status");
}

TEST_P(WAsyncTest, ReleaseWithoutTimeOutEndsWorkersBlockedOnAPeerThatReadsNothing) {
    port.setSmallBuffers(true);
    ASSERT_EQ(port.claim(0), 0);
    auto data = pattern(262144);
    uint32_t accepted = 0;
    ASSERT_EQ(port.send(data.data(), uint32_t(data.size()), &accepted, 0, 0, 0), 0);
    bool finished = false;
    EXPECT_EQ(boundedRelease(port, 0, &finished), 0);
    EXPECT_EQ(port.isOpen(), 0);
}

TEST_P(WAsyncTest, ReleaseDrainsToAReadingPeer) {
    ASSERT_EQ(port.claim(0), 0);
    auto data = pattern(200000);
    uint32_t accepted = 0;
    ASSERT_EQ(port.send(data.data(), uint32_t(data.size()), &accepted, 0, 0, 0), 0);
    ASSERT_EQ(accepted, data.size());
    int peer = port.peer();
    auto reader =
        std::async(std::launch::async, [peer, &data] { return readPeer(peer, data.size()); });
    bool finished = false;
    EXPECT_EQ(boundedRelease(port, 30000, &finished), 0);
    EXPECT_EQ(reader.get(), data);
}

TEST_P(WAsyncTest, ByteByByteSendingArrivesWholeAndInOrder) {
    // The way the send tool's script mode sends: the worker must be woken
    // whenever it went idle, or bytes would sit in the queue.
    ASSERT_EQ(port.claim(0), 0);
    auto data = pattern(50000);
    int peer = port.peer();
    auto reader =
        std::async(std::launch::async, [peer, &data] { return readPeer(peer, data.size()); });
    for (size_t i = 0; i < data.size(); ++i) {
        uint32_t accepted = 0;
        ASSERT_EQ(port.send(&data[i], 1, &accepted, 0, 0, 0), 0);
        ASSERT_EQ(accepted, 1u);
        if (i % 5000 == 0) std::this_thread::yield(); // let the worker go idle now and then
    }
    bool finished = false;
    EXPECT_EQ(boundedRelease(port, 30000, &finished), 0);
    EXPECT_EQ(reader.get(), data);
}

TEST_P(WAsyncTest, TheWorkerNeverSleepsOnQueuedBytes) {
    // Pieces of every size, as the send tool's two modes offer them: the
    // worker keeps finding the ring empty one moment and full the next, and
    // must be woken (or look again) every time bytes wait.
    ASSERT_EQ(port.claim(0), 0);
    auto data = pattern(6 << 20);
    int peer = port.peer();
    auto reader =
        std::async(std::launch::async, [peer, &data] { return readPeer(peer, data.size()); });
    size_t at = 0;
    uint32_t piece = 1;
    while (at < data.size()) {
        uint32_t accepted = 0;
        const uint32_t offer = uint32_t(std::min<size_t>(piece, data.size() - at));
        ASSERT_EQ(port.send(&data[at], offer, &accepted, 0, 0, 0), 0);
        at += accepted;
        piece = piece * 7 % 70001 + 1; // 1 byte to 70 KB, in no order
    }
    bool finished = false;
    EXPECT_EQ(boundedRelease(port, 30000, &finished), 0);
    EXPECT_TRUE(reader.get() == data);
}

TEST_P(WAsyncTest, ReleaseGivesUpOnAStalledPeerAfterTheTimeOutWithoutProgress) {
    port.setSmallBuffers(true);
    ASSERT_EQ(port.claim(0), 0);
    auto data = pattern(100000);
    uint32_t accepted = 0;
    ASSERT_EQ(port.send(data.data(), uint32_t(data.size()), &accepted, 0, 0, 0), 0);
    bool finished = false;
    EXPECT_EQ(boundedRelease(port, 200, &finished), 1);
}

TEST_P(WAsyncTest, PurgeWhileAWriteIsBlockedLeavesTheCountsConsistent) {
    port.setSmallBuffers(true);
    ASSERT_EQ(port.claim(0), 0);
    auto data = pattern(100000);
    uint32_t accepted = 0;
    ASSERT_EQ(port.send(data.data(), uint32_t(data.size()), &accepted, 0, 0, 0), 0);
    EXPECT_EQ(port.purgeSend(), 0);
    uint32_t count = 1;
    EXPECT_EQ(port.getSendCount(&count), 0);
    EXPECT_EQ(count, 0u);

    // The peer starts reading: the abandoned block may finish, then only END.
    ASSERT_EQ(port.send("END", 3, &accepted, 0, 0, 0), 0);
    int peer = port.peer();
    auto reader = std::async(std::launch::async, [peer] {
        std::vector<uint8_t> got;
        while (got.size() < 3 || std::string(got.end() - 3, got.end()) != "END") {
            auto piece = readPeer(peer, 1);
            if (piece.empty()) break;
            got.insert(got.end(), piece.begin(), piece.end());
        }
        return got;
    });
    bool finished = false;
    EXPECT_EQ(boundedRelease(port, 5000, &finished), 0);
    auto got = reader.get();
    ASSERT_GE(got.size(), 3u);
    EXPECT_EQ(std::string(got.end() - 3, got.end()), "END");
    std::vector<uint8_t> before(got.begin(), got.end() - 3);
    ASSERT_LE(before.size(), data.size());
    EXPECT_TRUE(std::equal(before.begin(), before.end(), data.begin()))
        << "bytes before END must be a prefix of the purged data";
}

TEST_P(WAsyncTest, SizesTakeEffectAtTheNextClaimAndRingSizesArePowersOfTwo) {
    port.setSmallBuffers(true);
    EXPECT_EQ(port.setSendBufferSize(1000), 0);
    EXPECT_EQ(port.getSendBufferSize(), 262144u);
    ASSERT_EQ(port.claim(0), 0);
    EXPECT_EQ(port.setSendBufferSize(1024), 1);
    auto data = pattern(300000);
    uint32_t accepted = 0;
    port.send(data.data(), uint32_t(data.size()), &accepted, 0, 0, 0);
    EXPECT_EQ(accepted, 262144u);
    ASSERT_EQ(port.claim(0), 0); // claiming an open port reopens it
    port.send(data.data(), uint32_t(data.size()), &accepted, 0, 0, 0);
    EXPECT_EQ(accepted, 1024u);
}

TEST_P(WAsyncTest, UnknownQueueKindFailsTheClaimWithTheQueueCode) {
    port.setSendQueueType(5);
    EXPECT_EQ(port.claim(0), DOVA_E_QUEUE);
    EXPECT_EQ(port.isOpen(), 0);
    port.setSendQueueType(1);
    EXPECT_EQ(port.claim(0), 0);
}

TEST_P(WAsyncTest, ReleaseAnswersAtOnceWhenTheDeviceIsGone) {
    // A printer unplugged (or a connection reset) mid-job: nothing queued can
    // leave, so the drain must not wait out its time-out.
    port.setSmallBuffers(true);
    ASSERT_EQ(port.claim(0), 0);
    auto data = pattern(200000);
    uint32_t accepted = 0;
    ASSERT_EQ(port.send(data.data(), uint32_t(data.size()), &accepted, 0, 0, 0), 0);
    ::shutdown(port.peer(), SHUT_RDWR);
    bool finished = false;
    EXPECT_EQ(boundedRelease(port, 600000, &finished), 1); // aborts long before 600 s
}

TEST_P(WAsyncTest, ANegativeDrainTimeOutIsAVeryLongOneNotAnImmediateGiveUp) {
    port.setSmallBuffers(true);
    ASSERT_EQ(port.claim(0), 0);
    auto data = pattern(100000);
    uint32_t accepted = 0;
    ASSERT_EQ(port.send(data.data(), uint32_t(data.size()), &accepted, 0, 0, 0), 0);
    int peer = port.peer();
    // The printer stalls for a while before it takes the job.
    auto reader = std::async(std::launch::async, [peer, &data] {
        std::this_thread::sleep_for(300ms);
        return readPeer(peer, data.size());
    });
    bool finished = false;
    EXPECT_EQ(boundedRelease(port, -1, &finished), 0);
    EXPECT_EQ(reader.get(), data);
}

TEST_P(WAsyncTest, HeldOutputWaitsForTheFamilysFlowControl) {
    ASSERT_EQ(port.claim(0), 0);
    port.hold = true;
    uint32_t accepted = 0, count = 0;
    ASSERT_EQ(port.send("held", 4, &accepted, 0, 0, 0), 0);
    pollfd p{port.peer(), POLLIN, 0};
    EXPECT_EQ(::poll(&p, 1, 100), 0) << "nothing may leave while output is held";
    EXPECT_EQ(port.getSendCount(&count), 0);
    EXPECT_EQ(count, 4u);
    port.hold = false;
    EXPECT_EQ(readPeer(port.peer(), 4), std::vector<uint8_t>({'h', 'e', 'l', 'd'}));
    bool finished = false;
    EXPECT_EQ(boundedRelease(port, 5000, &finished), 0);
}

TEST_P(WAsyncTest, LibraryCallbacksAndLineWatchersReachTheQueueAndTheLineHook) {
    static std::atomic<uint32_t> lineEvents{0};
    lineEvents = 0;
    port.recvHook = onRecv;
    port.lineHook = [](DovaBase*, uint32_t mask, uint32_t) { lineEvents |= mask; };
    // A watcher polling the device's lines until stopped; release ends it.
    std::atomic<int> rounds{0};
    port.waitBody = [&] {
        port.runWatchWorker("watch start\n", "watch end\n", 1, [&] {
            if (++rounds == 3) port.raiseLineEvents(0x08);
        });
    };
    ASSERT_EQ(port.claim(0), 0);
    // A library delivering data on a thread of its own.
    std::thread([&] { port.storeReceived("cb", 2); }).join();
    ASSERT_TRUE(hooks.waitReceived(2));
    uint8_t buf[8];
    uint32_t n = 0;
    EXPECT_EQ(port.recv(buf, sizeof buf, &n, 0), 0);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(buf), n), "cb");
    while (lineEvents.load() == 0)
        std::this_thread::yield();
    EXPECT_EQ(lineEvents.load(), 0x08u);
    bool finished = false;
    EXPECT_EQ(boundedRelease(port, 0, &finished), 0);
}

INSTANTIATE_TEST_SUITE_P(Primitives, WAsyncTest,
                         ::testing::Values(PairPrimitive::Descriptor, PairPrimitive::LibraryCall),
                         [](const auto& info) {
                             return info.param == PairPrimitive::Descriptor ? "Descriptor"
                                                                            : "LibraryCall";
                         });

} // namespace
