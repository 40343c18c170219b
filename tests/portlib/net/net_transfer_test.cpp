// Printing through the TCP ports to the test printer, and the close in its
// three outcomes: drained, stalled, connection lost.
#include "backends/net/net.h"
#include "backends/net/net_events.h"
#include "backends/net/net_kpnet_threads.h"
#include "backends/net/net_threads.h"
#include "net_test_support.h"
#include "test_printer.h"

#include <dova/dova.h>

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

namespace {

// Answers arrived: the receive hook runs on the port's worker thread.
std::mutex answerLock;
std::condition_variable answerArrived;
uint32_t answerBytes = 0;

void onAnswer(DovaBase*, uint32_t stored) {
    std::lock_guard<std::mutex> g(answerLock);
    answerBytes += stored;
    answerArrived.notify_all();
}

bool waitAnswer(uint32_t bytes) {
    std::unique_lock<std::mutex> g(answerLock);
    return answerArrived.wait_for(g, std::chrono::seconds(10),
                                  [&] { return answerBytes >= bytes; });
}

template <class Port>
std::unique_ptr<DovaBase> openTo(uint16_t tcpPort, DovaRecvHook hook = nullptr) {
    auto port = std::make_unique<Port>();
    port->recvHook = hook;
    port->setIP(loopback());
    port->setPort(tcpPort);
    EXPECT_EQ(port->claim(0), 0);
    return port;
}

// Fills the socket buffers and the ring of a port whose printer stopped
// reading, until nothing more is taken for a while (the system grows its
// buffers as data flows). False when it never fills.
bool fillUntilRefused(DovaBase& port) {
    auto chunk = pattern(65536);
    int refused = 0;
    size_t offered = 0;
    while (refused < 10 && offered < (512u << 20)) {
        uint32_t accepted = 0;
        if (port.send(chunk.data(), uint32_t(chunk.size()), &accepted, 0, 0, 0) != 0) return false;
        offered += accepted;
        refused = accepted ? 0 : refused + 1;
        if (!accepted) std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return refused == 10;
}

template <class Port> class NetTransfer : public ::testing::Test {};
using QueuedPorts = ::testing::Types<WNetA, WNetE>;
TYPED_TEST_SUITE(NetTransfer, QueuedPorts);

TYPED_TEST(NetTransfer, JobReachesThePrinterByteForByteAndTheCloseIsGraceful) {
    testprinter::TestPrinter printer(
        anyPort([](testprinter::Options& o) { o.keepInMemory = true; }));
    ASSERT_TRUE(printer.start(nullptr));
    auto port = openTo<TypeParam>(printer.tcpPort());
    auto job = pattern(3 * 262144 + 1234); // more than one ring full
    ASSERT_TRUE(sendAll(*port, job));
    EXPECT_EQ(boundedRelease(*port, 30000), 0);
    // The graceful close waited for the printer to close its side.
    EXPECT_TRUE(printer.waitConnectionsEnded(1, 10000));
    EXPECT_EQ(printer.received(), job);
    EXPECT_EQ(port->isOpen(), 0);
}

TYPED_TEST(NetTransfer, StalledPrinterMakesTheDrainGiveUp) {
    testprinter::TestPrinter printer(anyPort([](testprinter::Options& o) { o.stallAfter = 1000; }));
    ASSERT_TRUE(printer.start(nullptr));
    auto port = openTo<TypeParam>(printer.tcpPort());
    ASSERT_TRUE(fillUntilRefused(*port)) << "the queue never filled";
    EXPECT_EQ(boundedRelease(*port, 300), 1);
    EXPECT_EQ(printer.bytesReceived(), 1000u);
}

TYPED_TEST(NetTransfer, ReleaseWithoutTimeOutClosesAtOnceOnAStalledPrinter) {
    testprinter::TestPrinter printer(anyPort([](testprinter::Options& o) { o.stallAfter = 0; }));
    ASSERT_TRUE(printer.start(nullptr));
    auto port = openTo<TypeParam>(printer.tcpPort());
    ASSERT_TRUE(fillUntilRefused(*port));
    // The send worker is blocked on the socket; the stop event ends it.
    EXPECT_EQ(boundedRelease(*port, 0), 0);
    EXPECT_EQ(port->isOpen(), 0);
}

TYPED_TEST(NetTransfer, PrinterThatDropsTheConnectionEndsTheReleaseAtOnce) {
    testprinter::TestPrinter printer(anyPort([](testprinter::Options& o) { o.closeAfter = 1000; }));
    ASSERT_TRUE(printer.start(nullptr));
    auto port = openTo<TypeParam>(printer.tcpPort());
    auto first = pattern(1000);
    ASSERT_TRUE(sendAll(*port, first));
    ASSERT_TRUE(printer.waitConnectionsEnded(1, 10000));
    // The connection is gone: what follows cannot leave, and release says so
    // without waiting out the time-out.
    auto rest = pattern(200000);
    uint32_t accepted = 0;
    ASSERT_EQ(port->send(rest.data(), uint32_t(rest.size()), &accepted, 0, 0, 0), 0);
    EXPECT_EQ(boundedRelease(*port, 30000), 1);
}

TYPED_TEST(NetTransfer, PrinterThatResetsAfterTakingPartOfAShortJobFailsTheRelease) {
    // The whole job fits in the socket buffers, so no write fails; the reset
    // at the close is what tells that the printer threw data away.
    testprinter::TestPrinter printer(anyPort([](testprinter::Options& o) { o.closeAfter = 1000; }));
    ASSERT_TRUE(printer.start(nullptr));
    auto port = openTo<TypeParam>(printer.tcpPort());
    ASSERT_TRUE(sendAll(*port, pattern(100000)));
    EXPECT_EQ(boundedRelease(*port, 30000), 1);
}

TYPED_TEST(NetTransfer, PrinterThatNeverClosesHoldsTheCloseOnlyForTheTimeOut) {
    testprinter::TestPrinter printer(anyPort([](testprinter::Options& o) { o.neverClose = true; }));
    ASSERT_TRUE(printer.start(nullptr));
    auto port = openTo<TypeParam>(printer.tcpPort());
    ASSERT_TRUE(sendAll(*port, pattern(5000)));
    EXPECT_EQ(boundedRelease(*port, 400), 0);
    EXPECT_TRUE(printer.waitBytes(5000, 10000));
}

TYPED_TEST(NetTransfer, AnswersFromThePrinterArriveInTheReceiveQueue) {
    AnsweringPeer peer;
    {
        std::lock_guard<std::mutex> g(answerLock);
        answerBytes = 0;
    }
    auto port = openTo<TypeParam>(peer.port(), onAnswer);
    ASSERT_TRUE(peer.accept());
    ASSERT_TRUE(port->send("\x10\x04\x01", 3, nullptr, 0, 0, 0) == 0);
    EXPECT_EQ(peer.read(3), "\x10\x04\x01");
    char buf[8];
    uint32_t n = 9;
    ASSERT_EQ(port->recv(buf, sizeof buf, &n, 0), 0);
    EXPECT_EQ(n, 0u) << "nothing has arrived yet, and recv does not wait";
    ASSERT_TRUE(peer.write("\x12"));
    ASSERT_TRUE(waitAnswer(1));
    ASSERT_EQ(port->recv(buf, sizeof buf, &n, 0), 0);
    EXPECT_EQ(std::string(buf, n), "\x12");
    // The printer closing its side ends the answers, not the port.
    peer.closeConnection();
    EXPECT_EQ(boundedRelease(*port, 1000), 0);
}

TEST(NetDirect, SendAndRecvBlockOnTheCallersThread) {
    AnsweringPeer peer;
    WNet port;
    port.setIP(loopback());
    port.setPort(peer.port());
    ASSERT_EQ(port.claim(0), 0);
    ASSERT_TRUE(peer.accept());
    uint32_t n = 0;
    EXPECT_EQ(port.send("ESC@", 4, &n, 0, 0, 0), 0);
    EXPECT_EQ(n, 4u);
    EXPECT_EQ(peer.read(4), "ESC@");
    ASSERT_TRUE(peer.write("ok"));
    char buf[8];
    EXPECT_EQ(port.recv(buf, sizeof buf, &n, 0), 0);
    EXPECT_EQ(std::string(buf, n), "ok");
    peer.closeConnection();
    EXPECT_EQ(port.recv(buf, sizeof buf, &n, 0), 0);
    EXPECT_EQ(n, 0u) << "0 bytes: the printer closed";
    EXPECT_EQ(port.release(1000), 0);
    EXPECT_EQ(port.send("x", 1, &n, 0, 0, 0), DOVA_E_WRITE);
}

TEST(NetKpnetA, PrintsLikeWNetA) {
    testprinter::TestPrinter printer(
        anyPort([](testprinter::Options& o) { o.keepInMemory = true; }));
    ASSERT_TRUE(printer.start(nullptr));
    auto port = openTo<WKpnetA>(printer.tcpPort());
    auto job = pattern(70000);
    ASSERT_TRUE(sendAll(*port, job));
    EXPECT_EQ(boundedRelease(*port, 30000), 0);
    EXPECT_EQ(printer.received(), job);
}

} // namespace
