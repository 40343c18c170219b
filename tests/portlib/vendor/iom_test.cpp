// WIOM and WIOMA against the played libIOModule.so.
#include "backends/vendor/iom.h"
#include "backends/vendor/iom_threads.h"
#include "vendor_test_support.h"

#include <dlfcn.h>

#include <dova/dova.h>
#include <gtest/gtest.h>

#include <semaphore>

namespace {

constexpr const char* serialSetup = "CreateIOModule()\n"
                                    "countPorts(1)\n"
                                    "selectKind(1)\n"
                                    "setPortName(L\"COM3\", 4)\n";
constexpr const char* lineSettings = "setBaudRate(9600)\n"
                                     "setByteSize(8)\n"
                                     "setParity(0)\n"
                                     "setStopBits(0)\n"
                                     "setFlow(2)\n";
constexpr const char* takeDown = "unlock()\nclose()\nDeleteIOModule(module)\n";

struct IomPort : ::testing::Test {
    PlayedLibrary played{"IOModule.dll"};
    void SetUp() override {
        ASSERT_TRUE(played.isLoaded());
        played.reset();
    }
};

TEST_F(IomPort, OneSerialSessionCallsTheModuleInOrder) {
    WIOM port;
    port.setNo(3);
    port.setCh(1);
    TraceCapture trace;
    ASSERT_EQ(port.claim(0), DOVA_OK);
    char name[WIOM::nameSize];
    port.getName(name);
    EXPECT_STREQ(name, "COM3");
    uint32_t n = 0;
    played.script("write", 0); // the module's answer does not count, its count does
    played.script("write.written", 4);
    EXPECT_EQ(port.send("\x1b@abc", 5, &n, 0, 0, 0), DOVA_OK);
    EXPECT_EQ(n, 4u);
    played.readData("ok");
    char buffer[8];
    EXPECT_EQ(port.recv(buffer, sizeof buffer, &n, 0), DOVA_OK);
    EXPECT_EQ(std::string(buffer, n), "ok");
    EXPECT_EQ(port.lock(3000), DOVA_OK);
    EXPECT_EQ(port.unlock(0), DOVA_OK);
    EXPECT_EQ(port.release(100), DOVA_OK);
    EXPECT_EQ(port.release(100), DOVA_OK);
    EXPECT_EQ(played.calls(), std::string(serialSetup) + lineSettings +
                                  "open()\n"
                                  "write(5, 1000)\n"
                                  "read(8, 1000)\n"
                                  "lock(3000)\n"
                                  "unlock()\n" +
                                  takeDown);
    EXPECT_EQ(played.taken(), "\x1b@ab");
    EXPECT_EQ(trace.text(), "DOVA: WIOM::claim()\n"
                            "DOVA:  Count COM=1\n"
                            "DOVA: WIOM::release(100)\n");
    port.setNo(4);
    port.getName(name);
    EXPECT_STREQ(name, "") << "a new number forgets the name";
}

TEST_F(IomPort, EachChannelSetsUpItsConnection) {
    struct Case {
        int32_t channel;
        int32_t result;
        const char* calls;
    };
    const Case cases[] = {
        {2, DOVA_OK, "CreateIOModule()\ncountPorts(2)\nselectKind(2)\nsetPortName(L\"USB1\", 5)\n"},
        {3, DOVA_OK,
         "CreateIOModule()\nselectKind(4)\nsetNetworkAddress(L\"\", 0)\n"
         "setNetworkPort(L\"\", 0)\n"},
        {7, DOVA_E_OPEN, "CreateIOModule()\n"},
    };
    for (const Case& c : cases) {
        played.reset();
        WIOM port;
        port.setNo(1);
        port.setCh(c.channel);
        port.setIP(0x0500000A); // stored only: the module finds the device itself
        EXPECT_EQ(port.claim(0), c.result) << c.channel;
        port.release(0);
        std::string expected = c.calls;
        if (c.result == DOVA_OK) expected += std::string(lineSettings) + "open()\n";
        EXPECT_EQ(played.calls(), expected + takeDown) << c.channel;
        uint32_t ip = 0;
        port.getIP(&ip);
        EXPECT_EQ(ip, 0x0500000Au);
    }
}

TEST_F(IomPort, RefusalsBecomeTheLibraryCodes) {
    struct Case {
        const char* key;
        int64_t value;
        int32_t claimed;
        const char* callsAfter; // the last calls of the claim
    };
    const Case cases[] = {
        {"CreateIOModule", 0, DOVA_E_IOMODULE, "CreateIOModule()\n"},
        {"countPorts", 0, DOVA_E_OPEN, "countPorts(1)\n"},
        {"selectKind", 0, DOVA_E_OPEN, "selectKind(1)\n"},
        {"setPortName", 0, DOVA_E_OPEN, "setPortName(L\"COM3\", 4)\n"},
        {"setParity", 0, DOVA_E_OPEN, "setParity(0)\n"},
        {"open", 5, DOVA_E_OPEN, "open()\n"},
    };
    for (const Case& c : cases) {
        played.reset();
        played.script(c.key, c.value);
        WIOM port;
        port.setNo(3);
        EXPECT_EQ(port.claim(0), c.claimed) << c.key;
        EXPECT_EQ(port.isOpen(), 0) << c.key;
        std::string calls = played.calls();
        std::string end = c.claimed == DOVA_E_IOMODULE ? "" : takeDown;
        EXPECT_TRUE(calls.ends_with(c.callsAfter + end)) << c.key << "\n" << calls;
    }
    WIOM port;
    uint32_t n = 5;
    EXPECT_EQ(port.send("x", 1, &n, 0, 0, 0), DOVA_E_WRITE) << "closed";
    EXPECT_EQ(port.lock(0), DOVA_E_LOCK) << "closed";
    played.reset();
    ASSERT_EQ(port.claim(0), DOVA_OK);
    played.script("lock", 1);
    played.script("unlock", 1);
    EXPECT_EQ(port.lock(0), DOVA_E_LOCK);
    EXPECT_EQ(port.unlock(0), DOVA_E_UNLOCK);
}

TEST_F(IomPort, LineSettingsInTheModulesValues) {
    struct Case {
        int32_t (WIOM::*set)(int32_t);
        int32_t (WIOM::*get)(int32_t*);
        int32_t value;
        const char* call; // what the module is given, null: refused with 1030
    };
    const Case cases[] = {
        {&WIOM::setBaudRate, &WIOM::getBaudRate, 115200, "setBaudRate(115200)\n"},
        {&WIOM::setBaudRate, &WIOM::getBaudRate, 256000, "setBaudRate(256000)\n"},
        {&WIOM::setBaudRate, &WIOM::getBaudRate, 14400, nullptr},
        {&WIOM::setByteSize, &WIOM::getByteSize, 7, "setByteSize(7)\n"},
        {&WIOM::setParity, &WIOM::getParity, DOVA_PARITY_ODD, "setParity(2)\n"},
        {&WIOM::setParity, &WIOM::getParity, DOVA_PARITY_EVEN, "setParity(1)\n"},
        {&WIOM::setParity, &WIOM::getParity, DOVA_PARITY_MARK, nullptr},
        {&WIOM::setStopBits, &WIOM::getStopBits, DOVA_STOPBITS_2, "setStopBits(2)\n"},
        {&WIOM::setStopBits, &WIOM::getStopBits, 3, nullptr},
        {&WIOM::setFlow, &WIOM::getFlow, DOVA_FLOW_NONE, "setFlow(0)\n"},
        {&WIOM::setFlow, &WIOM::getFlow, DOVA_FLOW_RTSCTS, "setFlow(3)\n"},
        {&WIOM::setFlow, &WIOM::getFlow, DOVA_FLOW_XONXOFF, "setFlow(1)\n"},
        {&WIOM::setFlow, &WIOM::getFlow, DOVA_FLOW_DTRDSR_RTSCTS, nullptr},
    };
    WIOM closed;
    WIOM open;
    ASSERT_EQ(open.claim(0), DOVA_OK);
    for (const Case& c : cases) {
        played.reset();
        int32_t expected = c.call ? DOVA_OK : DOVA_E_PARAM;
        EXPECT_EQ((closed.*c.set)(c.value), expected) << c.value;
        EXPECT_EQ((open.*c.set)(c.value), expected) << c.value;
        EXPECT_EQ(played.calls(), c.call ? c.call : "") << "only the open port calls the module";
        int32_t stored = -9;
        (open.*c.get)(&stored);
        if (c.call)
            EXPECT_EQ(stored, c.value);
        else
            EXPECT_NE(stored, c.value) << "a refused value is not kept";
    }
    played.reset();
    played.script("setBaudRate", 0);
    EXPECT_EQ(open.setBaudRate(4800), DOVA_E_PARAM) << "refused by the module";
    int32_t baud = 0;
    open.getBaudRate(&baud);
    EXPECT_EQ(baud, 256000);

    // What a claim then gives the module.
    played.reset();
    closed.release(0);
    ASSERT_EQ(closed.claim(0), DOVA_OK);
    EXPECT_NE(played.calls().find("setBaudRate(256000)\nsetByteSize(7)\nsetParity(1)\n"
                                  "setStopBits(2)\nsetFlow(1)\nopen()\n"),
              std::string::npos)
        << played.calls();

    DovaCommTimeouts timeouts;
    closed.getCommTimeouts(&timeouts);
    EXPECT_EQ(timeouts.readIntervalTimeout + timeouts.readTotalTimeoutConstant +
                  timeouts.writeTotalTimeoutConstant,
              4100u);
    timeouts.readIntervalTimeout = 7;
    EXPECT_EQ(closed.setCommTimeouts(&timeouts), DOVA_OK);
    closed.getCommTimeouts(&timeouts);
    EXPECT_EQ(timeouts.readIntervalTimeout, 7u);
}

// The library is loaded at each claim and unloaded at each release (the
// test holds no reference of its own here).
TEST(IomLibrary, LoadedOnlyWhileClaimed) {
    auto loaded = [] {
        void* handle = ::dlopen("libIOModule.so", RTLD_NOW | RTLD_NOLOAD);
        if (handle) ::dlclose(handle);
        return handle != nullptr;
    };
    WIOM port;
    EXPECT_FALSE(loaded());
    ASSERT_EQ(port.claim(0), DOVA_OK);
    EXPECT_TRUE(loaded());
    EXPECT_EQ(port.release(0), DOVA_OK);
    EXPECT_FALSE(loaded());
    ASSERT_EQ(port.claim(0), DOVA_OK) << "and loaded again";
    EXPECT_TRUE(loaded());
}

std::binary_semaphore received{0};
void onReceived(DovaBase*, uint32_t) {
    received.release();
}

TEST_F(IomPort, WorkersCallTheModuleWithTheirShortTimeOut) {
    WIOMA port;
    port.recvHook = onReceived;
    port.setNo(3);
    played.readData("st");
    TraceCapture trace;
    ASSERT_EQ(port.claim(0), DOVA_OK);
    received.acquire();
    char buffer[8];
    uint32_t n = 0;
    EXPECT_EQ(port.recv(buffer, sizeof buffer, &n, 0), DOVA_OK);
    EXPECT_EQ(std::string(buffer, n), "st");
    EXPECT_EQ(port.send("hello", 5, &n, 0, 0, 0), DOVA_OK);
    EXPECT_EQ(port.release(5000), DOVA_OK);
    std::string calls = played.calls();
    EXPECT_EQ(calls.find(std::string(serialSetup) + "open()\n" + lineSettings), 0u)
        << "the line settings follow the open\n"
        << calls;
    EXPECT_NE(calls.find("read(4096, 50)\n"), std::string::npos) << calls;
    EXPECT_TRUE(calls.ends_with(std::string("write(5, 50)\n") + takeDown)) << calls;
    EXPECT_EQ(played.taken(), "hello");
    std::string text = trace.text();
    EXPECT_EQ(text.find("DOVA: WIOMA::claim()\nDOVA:  Count COM=1\n"), 0u) << text;
    EXPECT_NE(text.find("DOVA: WIOMA::procRecv() Start\n"), std::string::npos);
    EXPECT_NE(text.find("DOVA: WIOMA::procSend() End\n"), std::string::npos);
    EXPECT_NE(text.find("DOVA: WIOMA::release(5000)\n"), std::string::npos);
}

TEST_F(IomPort, WorkersClaimRefusals) {
    struct Case {
        const char* key;
        int64_t value;
        int32_t claimed;
    };
    const Case cases[] = {{"open", 1, DOVA_E_OPEN}, {"setFlow", 0, DOVA_E_LINESETUP}};
    for (const Case& c : cases) {
        played.reset();
        played.script(c.key, c.value);
        WIOMA port;
        EXPECT_EQ(port.claim(0), c.claimed) << c.key;
        EXPECT_EQ(port.isOpen(), 0);
        EXPECT_TRUE(played.calls().ends_with(takeDown)) << played.calls();
    }
}

} // namespace
