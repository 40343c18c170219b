// WStarIO against the played libStarIOPort.so.
#include "backends/vendor/stario.h"
#include "vendor_test_support.h"

#include <dova/dova.h>
#include <gtest/gtest.h>

namespace {

struct StarIOPort : ::testing::Test {
    PlayedLibrary played{"StarIOPort.dll"};
    WStarIO port;
    void SetUp() override {
        ASSERT_TRUE(played.isLoaded());
        played.reset();
    }
};

TEST_F(StarIOPort, OneSessionCallsTheLibraryInOrder) {
    TraceCapture trace;
    ASSERT_EQ(port.claim(4000), DOVA_OK);
    EXPECT_EQ(port.isOpen(), 1);
    EXPECT_EQ(port.getHandle(), 0x51A0);
    uint32_t written = 0;
    EXPECT_EQ(port.send("\x1b@abc", 5, &written, 0, 0, 0), DOVA_OK);
    EXPECT_EQ(written, 5u);
    played.readData("\x10\x04");
    char buffer[8] = {};
    uint32_t read = 0;
    EXPECT_EQ(port.recv(buffer, sizeof buffer, &read, 0), DOVA_OK);
    EXPECT_EQ(std::string(buffer, read), "\x10\x04");
    EXPECT_EQ(port.isReady(), 1);
    EXPECT_EQ(port.reset(), DOVA_OK);
    EXPECT_EQ(port.release(250), DOVA_OK);
    EXPECT_EQ(port.isOpen(), 0);
    EXPECT_EQ(port.release(250), DOVA_OK) << "a closed port releases without a call";
    EXPECT_EQ(played.calls(), "OpenPortA(\"usbprn:Star TSP100 Cutter (TSP143)\", \"\", 4000)\n"
                              "WritePort(20896, 5)\n"
                              "ReadPort(20896, 8)\n"
                              "GetOnlineStatus(20896)\n"
                              "ResetDevice(20896)\n"
                              "ClosePort(20896)\n");
    EXPECT_EQ(played.taken(), "\x1b@abc");
    EXPECT_EQ(trace.text(), "DOVA: WStarIO::claim()\nDOVA: WStarIO::release(250)\n");
}

TEST_F(StarIOPort, ClaimingAgainClosesTheFirstPort) {
    ASSERT_EQ(port.claim(0), DOVA_OK);
    played.script("OpenPortA", 0x51A1);
    ASSERT_EQ(port.claim(0), DOVA_OK);
    EXPECT_EQ(played.calls(), "OpenPortA(\"usbprn:Star TSP100 Cutter (TSP143)\", \"\", 0)\n"
                              "ClosePort(20896)\n"
                              "OpenPortA(\"usbprn:Star TSP100 Cutter (TSP143)\", \"\", 0)\n");
    EXPECT_EQ(port.getHandle(), 0x51A1);
}

TEST_F(StarIOPort, LibraryResultsBecomeTheLibraryCodes) {
    struct Case {
        const char* what;
        const char* key;
        int64_t value;
        int32_t (*operation)(WStarIO&);
        int32_t expected;
    };
    auto send = [](WStarIO& p) {
        uint32_t written = 99;
        int32_t r = p.send("12345", 5, &written, 0, 0, 0);
        return r == DOVA_OK ? int32_t(written) : (written == 0 ? r : -2);
    };
    auto recv = [](WStarIO& p) {
        char b[4];
        uint32_t read = 99;
        int32_t r = p.recv(b, sizeof b, &read, 0);
        return read == 0 ? r : -2;
    };
    const Case cases[] = {
        {"write refused", "WritePort", 0, send, DOVA_E_WRITE},
        {"write taken in part", "WritePort.written", 2, send, 2},
        {"read refused", "ReadPort", 0, recv, DOVA_E_READ},
        {"reset refused", "ResetDevice", 0, [](WStarIO& p) { return p.reset(); }, DOVA_E_RESET},
        {"status refused", "GetOnlineStatus", 0, [](WStarIO& p) { return p.isReady(); }, 0},
        {"off line", "GetOnlineStatus.online", 0, [](WStarIO& p) { return p.isReady(); }, 0},
    };
    for (const Case& c : cases) {
        played.reset();
        played.script(c.key, c.value);
        ASSERT_EQ(port.claim(0), DOVA_OK) << c.what;
        EXPECT_EQ(c.operation(port), c.expected) << c.what;
        port.release(0);
    }
}

TEST_F(StarIOPort, RefusedOpenLeavesThePortClosed) {
    played.script("OpenPortA", 0);
    EXPECT_EQ(port.claim(0), DOVA_E_OPEN);
    EXPECT_EQ(port.isOpen(), 0);
    EXPECT_EQ(port.getHandle(), -1);
    uint32_t n = 7;
    EXPECT_EQ(port.send("x", 1, &n, 0, 0, 0), DOVA_E_WRITE);
    EXPECT_EQ(n, 0u);
    EXPECT_EQ(port.recv(nullptr, 0, &n, 0), DOVA_E_READ);
    EXPECT_EQ(port.isReady(), 0);
    EXPECT_EQ(port.reset(), DOVA_E_RESET);
    EXPECT_EQ(port.release(0), DOVA_OK);
    EXPECT_EQ(played.calls(), "OpenPortA(\"usbprn:Star TSP100 Cutter (TSP143)\", \"\", 0)\n")
        << "a closed port calls nothing";
}

} // namespace
