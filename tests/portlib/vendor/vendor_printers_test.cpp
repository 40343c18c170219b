// The ports that name their printer as the spooler does, each against its
// played library: WHPRDH (libHPRDH.so), WNrdtdh (libnrDTescM.so), WNrdtlm
// (libnrDTLmIF.so).
#include "backends/vendor/hprdh.h"
#include "backends/vendor/nrdtdh.h"
#include "backends/vendor/nrdtlm.h"
#include "vendor_test_support.h"

#include <dova/dova.h>
#include <gtest/gtest.h>

namespace {

template <class Port> struct PrinterPort : ::testing::Test {
    PlayedLibrary played;
    Port port;
    explicit PrinterPort(const char* library) : played(library) {}
    void SetUp() override {
        ASSERT_TRUE(played.isLoaded());
        played.reset();
        ASSERT_EQ(port.setName("Receipt"), DOVA_OK);
    }
    // One send and one receive of a claimed port: the two results.
    std::pair<int32_t, int32_t> sendAndReceive(uint32_t* written) {
        int32_t sent = port.send("abcde", 5, written, 0, 0, 0);
        char b[16];
        uint32_t read = 0;
        return {sent, port.recv(b, sizeof b, &read, 0)};
    }
};

struct HprdhPort : PrinterPort<WHPRDH> {
    HprdhPort() : PrinterPort("HPRDH.dll") {}
};
struct NrdtdhPort : PrinterPort<WNrdtdh> {
    NrdtdhPort() : PrinterPort("nrDTescM.dll") {}
};
struct NrdtlmPort : PrinterPort<WNrdtlm> {
    NrdtlmPort() : PrinterPort("nrDTLmIF.dll") {}
};

TEST_F(HprdhPort, OneSessionCallsTheLibraryInOrder) {
    TraceCapture trace;
    ASSERT_EQ(port.claim(2500), DOVA_OK);
    EXPECT_EQ(port.getHandle(), 41);
    uint32_t n = 0;
    EXPECT_EQ(sendAndReceive(&n), std::make_pair(DOVA_OK, DOVA_OK));
    EXPECT_EQ(n, 5u);
    EXPECT_EQ(port.release(0), DOVA_OK);
    EXPECT_EQ(port.release(0), DOVA_OK);
    EXPECT_EQ(played.calls(), "PrtOpenA(\"Receipt\")\nPrtClaim(41, 2500)\nPrtWrite(41, 5)\n"
                              "PrtRelease(41)\nPrtClose(41)\n")
        << "a receive reaches no library";
    EXPECT_EQ(played.taken(), "abcde");
    EXPECT_EQ(trace.text(), "DOVA: WHPRDH::claim()\nDOVA:  'Receipt'=0\n"
                            "DOVA: WniPrtWrite(5, 5)=0\nDOVA: WHPRDH::release(0)\n");
}

TEST_F(HprdhPort, RefusalsCloseAndReport) {
    played.script("PrtOpenA", 7);
    TraceCapture trace;
    EXPECT_EQ(port.claim(0), DOVA_E_OPEN);
    EXPECT_EQ(port.isOpen(), 0);
    played.reset();
    played.script("PrtClaim", 3);
    EXPECT_EQ(port.claim(0), DOVA_E_OPEN);
    EXPECT_EQ(port.isOpen(), 0);
    EXPECT_EQ(played.calls(), "PrtOpenA(\"Receipt\")\nPrtClaim(41, 0)\nPrtRelease(41)\n"
                              "PrtClose(41)\n");
    played.reset();
    played.script("PrtWrite", 9);
    played.script("PrtWrite.written", 2);
    ASSERT_EQ(port.claim(0), DOVA_OK);
    uint32_t n = 0;
    EXPECT_EQ(port.send("abcd", 4, &n, 0, 0, 0), DOVA_E_WRITE);
    EXPECT_EQ(n, 0u);
    std::string t = trace.text();
    EXPECT_NE(t.find("DOVA:  'Receipt'=7\n"), std::string::npos) << t;
    EXPECT_NE(t.find("DOVA: WniPrtWrite(4, 2)=9\n"), std::string::npos) << t;
}

TEST_F(NrdtdhPort, OneSessionCallsTheLibraryInOrder) {
    TraceCapture trace;
    ASSERT_EQ(port.claim(0), DOVA_OK);
    EXPECT_EQ(port.lock(700), DOVA_OK);
    played.readData("ok");
    uint32_t n = 0;
    EXPECT_EQ(sendAndReceive(&n), std::make_pair(DOVA_OK, DOVA_OK));
    EXPECT_EQ(port.unlock(0), DOVA_OK);
    EXPECT_EQ(port.release(0), DOVA_OK);
    EXPECT_EQ(played.calls(), "devOpenA(\"Receipt\", 0, \"nrDTEscM.dll\")\n"
                              "devLock(52, 700)\n"
                              "devWrite(52, 5000, 5)\n"
                              "devRead(52, 5000, 16)\n"
                              "devUnlock(52)\n"
                              "devUnlock(52)\n"
                              "devClose(52)\n");
    EXPECT_EQ(trace.text(), "DOVA:  'Receipt'=0\nDOVA: WNrdtdh::release(0)\n");
}

TEST_F(NrdtlmPort, OneSessionCallsTheLibraryInOrder) {
    TraceCapture trace;
    ASSERT_EQ(port.claim(0), DOVA_OK);
    EXPECT_EQ(port.lock(0), DOVA_OK);
    played.readData("ok");
    uint32_t n = 0;
    EXPECT_EQ(sendAndReceive(&n), std::make_pair(DOVA_OK, DOVA_OK));
    EXPECT_EQ(port.unlock(0), DOVA_OK);
    EXPECT_EQ(port.release(0), DOVA_OK);
    EXPECT_EQ(played.calls(), "LIOpen(0, \"Receipt\", event)\n"
                              "LILock(63)\n"
                              "LIWrite(63, 0, 5)\n"
                              "LIRead(63, 16)\n"
                              "LIUnlock(63)\n"
                              "LIUnlock(63)\n"
                              "LIClose(63)\n");
    EXPECT_EQ(trace.text(), "DOVA: WNrdtlm::claim()\nDOVA:  'Receipt'=0\n"
                            "DOVA: LIWrite(5, 5)=0\nDOVA: WNrdtlm::release(0)\n");
}

// Each refusal of the library and the code the port reports for it.
struct Refusal {
    const char* key;
    int32_t claim, lock, unlock, send, recv;
};

template <class Fixture> void checkRefusals(Fixture& f, std::initializer_list<Refusal> cases) {
    for (const Refusal& c : cases) {
        f.played.reset();
        f.played.script(c.key, 1);
        EXPECT_EQ(f.port.claim(0), c.claim) << c.key;
        if (c.claim == DOVA_OK) {
            EXPECT_EQ(f.port.lock(0), c.lock) << c.key;
            EXPECT_EQ(f.port.unlock(0), c.unlock) << c.key;
            uint32_t n = 0;
            EXPECT_EQ(f.sendAndReceive(&n), std::make_pair(c.send, c.recv)) << c.key;
        }
        f.port.release(0);
        EXPECT_EQ(f.port.isOpen(), 0) << c.key;
    }
}

TEST_F(NrdtdhPort, RefusalsBecomeTheLibraryCodes) {
    checkRefusals(*this, {{"devOpenA", DOVA_E_OPEN, 0, 0, 0, 0},
                          {"devLock", DOVA_OK, DOVA_E_ESCAPE, DOVA_OK, DOVA_OK, DOVA_OK},
                          {"devUnlock", DOVA_OK, DOVA_OK, DOVA_E_ESCAPE, DOVA_OK, DOVA_OK},
                          {"devWrite", DOVA_OK, DOVA_OK, DOVA_OK, DOVA_E_WRITE, DOVA_OK},
                          {"devRead", DOVA_OK, DOVA_OK, DOVA_OK, DOVA_OK, DOVA_E_READ}});
}

TEST_F(NrdtlmPort, RefusalsBecomeTheLibraryCodes) {
    checkRefusals(*this, {{"LIOpen", DOVA_E_OPEN, 0, 0, 0, 0},
                          {"LILock", DOVA_OK, DOVA_E_LOCK, DOVA_OK, DOVA_OK, DOVA_OK},
                          {"LIUnlock", DOVA_OK, DOVA_OK, DOVA_E_UNLOCK, DOVA_OK, DOVA_OK},
                          {"LIWrite", DOVA_OK, DOVA_OK, DOVA_OK, DOVA_E_WRITE, DOVA_OK},
                          {"LIRead", DOVA_OK, DOVA_OK, DOVA_OK, DOVA_OK, DOVA_E_READ}});
}

TEST_F(NrdtlmPort, WriteTakenInPartReportsTheCount) {
    ASSERT_EQ(port.claim(0), DOVA_OK);
    played.script("LIWrite", 4);
    played.script("LIWrite.written", 2);
    TraceCapture trace;
    uint32_t n = 0;
    EXPECT_EQ(port.send("abcde", 5, &n, 0, 0, 0), DOVA_E_WRITE);
    EXPECT_EQ(n, 2u);
    EXPECT_EQ(trace.text(), "DOVA: LIWrite(5, 2)=4\n");
}

} // namespace
