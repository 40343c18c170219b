// WKzapi against the played libKZAPI.so.
#include "backends/vendor/kzapi.h"
#include "vendor_test_support.h"

#include <dova/dova.h>
#include <gtest/gtest.h>

namespace {

struct KzapiPort : ::testing::Test {
    PlayedLibrary played{"KZAPI.DLL"};
    WKzapi port;
    void SetUp() override {
        ASSERT_TRUE(played.isLoaded());
        played.reset();
    }
};

TEST_F(KzapiPort, OneSessionCallsTheLibraryInOrder) {
    ASSERT_EQ(port.setName("REMOTE-A"), DOVA_OK);
    TraceCapture trace;
    ASSERT_EQ(port.claim(3000), DOVA_OK);
    EXPECT_EQ(port.getHandle(), 7);
    EXPECT_EQ(port.setName("other"), DOVA_E_SYSTEM) << "the channel of a claimed port stays";
    uint32_t written = 0;
    EXPECT_EQ(port.send("\x1b@abc", 5, &written, 0, 0, 0), DOVA_OK);
    EXPECT_EQ(written, 5u);
    played.readData("ok");
    char buffer[16] = {};
    uint32_t read = 0;
    EXPECT_EQ(port.recv(buffer, sizeof buffer, &read, 0), DOVA_OK);
    EXPECT_EQ(std::string(buffer, read), "ok");
    EXPECT_EQ(port.release(100), DOVA_OK);
    EXPECT_EQ(port.release(100), DOVA_OK);
    EXPECT_EQ(port.getHandle(), -1);
    EXPECT_EQ(played.calls(), "KZInitialize()\n"
                              "KZOpenChannel(1, \"REMOTE-A\", 1)\n"
                              "KZSend(7, 5)\n"
                              "KZReceive(7, 16, -1)\n"
                              "KZRelease()\n");
    EXPECT_EQ(played.taken(), "\x1b@abc");
    EXPECT_EQ(trace.text(), "DOVA: WKzapi::claim(REMOTE-A)\n"
                            "DOVA: KZSend(5, 5)=1\n"
                            "DOVA: KZReceive(16, 2)=1\n"
                            "DOVA: WKzapi::release(100)\n");
}

TEST_F(KzapiPort, SendTakenInPartReportsTheCountAndFails) {
    ASSERT_EQ(port.claim(0), DOVA_OK);
    played.script("KZSend", 3);
    TraceCapture trace;
    uint32_t written = 0;
    EXPECT_EQ(port.send("12345", 5, &written, 0, 0, 0), DOVA_E_WRITE);
    EXPECT_EQ(written, 3u);
    played.script("KZSend", 9);
    EXPECT_EQ(port.send("12345", 5, &written, 0, 0, 0), DOVA_E_WRITE);
    EXPECT_EQ(written, 5u) << "never more than offered";
    EXPECT_EQ(trace.text(), "DOVA: KZSend(5, 3)=0\nDOVA: KZSend(5, 9)=0\n");
}

TEST_F(KzapiPort, LibraryFailuresBecomeTheLibraryCodes) {
    struct Case {
        const char* key;
        int64_t value;
        int32_t claimResult;
        int32_t sendResult;
        int32_t recvResult;
        const char* calls;
        const char* traceAfterClaim;
    };
    const Case cases[] = {
        {"KZInitialize", 1, DOVA_E_SYSTEM, DOVA_E_WRITE, DOVA_E_READ, "KZInitialize()\n", ""},
        {"KZOpenChannel", -2, DOVA_E_OPEN, DOVA_E_WRITE, DOVA_E_READ,
         "KZInitialize()\nKZOpenChannel(1, \"\", 1)\n", ""},
        {"KZSend", -1, DOVA_OK, DOVA_E_WRITE, DOVA_OK,
         "KZInitialize()\nKZOpenChannel(1, \"\", 1)\nKZSend(7, 4)\nKZReceive(7, 4, -1)\n"
         "KZRelease()\n",
         "DOVA: KZReceive(4, 0)=1\n"},
        {"KZReceive", -1, DOVA_OK, DOVA_OK, DOVA_E_READ,
         "KZInitialize()\nKZOpenChannel(1, \"\", 1)\nKZSend(7, 4)\nKZReceive(7, 4, -1)\n"
         "KZRelease()\n",
         "DOVA: KZSend(4, 4)=1\nDOVA: KZReceive(4, -1)=0\n"},
    };
    for (const Case& c : cases) {
        played.reset();
        played.script(c.key, c.value);
        EXPECT_EQ(port.claim(0), c.claimResult) << c.key;
        TraceCapture trace;
        uint32_t n = 99;
        EXPECT_EQ(port.send("abcd", 4, &n, 0, 0, 0), c.sendResult) << c.key;
        EXPECT_EQ(n, c.sendResult == DOVA_OK ? 4u : 0u) << c.key;
        char b[4];
        EXPECT_EQ(port.recv(b, sizeof b, &n, 0), c.recvResult) << c.key;
        EXPECT_EQ(n, 0u) << c.key;
        EXPECT_EQ(port.release(0), DOVA_OK) << c.key;
        EXPECT_EQ(played.calls(), c.calls) << c.key;
        std::string t = trace.text();
        EXPECT_EQ(t.substr(0, t.find("DOVA: WKzapi::release")), c.traceAfterClaim) << c.key;
    }
}

} // namespace
