// WNDX, WWTS and WGW against the played print-service library (libNDX.so)
// and port handler (libOrvanGW.so): the calls and their arguments, the
// names they address the printer by, the result codes, and data that the
// libraries deliver from threads of their own.
#include "backends/printsvc/gw.h"
#include "backends/printsvc/ndx.h"
#include "vendor_test_support.h"

#include <dova/dova.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>

namespace {

// A played service library with the deliveries of its callback thread.
struct PlayedService : PlayedLibrary {
    os::Library module;
    explicit PlayedService(const char* name)
        : PlayedLibrary(name), module(os::Library::load(name)) {}
    // times 0: until the port unregisters.
    void deliver(uint32_t event, const std::string& bytes, int times) {
        if (auto f = module.function<void (*)(uint32_t, const void*, size_t, int)>("PlayerDeliver"))
            f(event, bytes.data(), bytes.size(), times);
    }
    void delivered() {
        if (auto f = module.function<void (*)()>("PlayerDelivered")) f();
    }
};

// Reads until `size` bytes came or a generous bound passed; what it read.
std::string readSome(DOVA_HANDLE h, size_t size) {
    std::string got;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (got.size() < size && std::chrono::steady_clock::now() < deadline) {
        char buffer[256];
        uint32_t n = 0;
        if (DovaRead(h, buffer, sizeof buffer, &n, 0) > 0) break;
        got.append(buffer, n);
        if (n == 0) std::this_thread::yield();
    }
    return got;
}

class ScopedEnvironment {
public:
    ScopedEnvironment(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old, had_ = true;
        if (value)
            ::setenv(name, value, 1);
        else
            ::unsetenv(name);
    }
    ~ScopedEnvironment() {
        if (had_)
            ::setenv(name_, old_.c_str(), 1);
        else
            ::unsetenv(name_);
    }

private:
    const char* name_;
    std::string old_;
    bool had_ = false;
};

// The last call of the function among the calls.
std::string callOf(const std::string& calls, const std::string& function) {
    std::string found = "(no " + function + ")";
    size_t start = 0;
    while (start < calls.size()) {
        size_t end = calls.find('\n', start);
        std::string line = calls.substr(start, end - start);
        if (line.rfind(function + "(", 0) == 0) found = line;
        start = end == std::string::npos ? calls.size() : end + 1;
    }
    return found;
}

struct Ndx : ::testing::Test {
    PlayedService played{"NDX.dll"};
    void SetUp() override {
        ASSERT_TRUE(played.isLoaded());
        played.reset();
    }
};

TEST_F(Ndx, OneSessionCallsTheLibraryInOrder) {
    TraceCapture trace;
    DOVA_HANDLE h = DovaOpenByName("NDX@192.168.1.20:9100", 1);
    ASSERT_NE(h, DOVA_INVALID_HANDLE);
    EXPECT_EQ(DovaGetIFType(h), DOVA_IF_NDX);
    ASSERT_EQ(DovaClaim(h, 0), DOVA_OK);
    EXPECT_EQ(DovaLock(h, 300), DOVA_OK);
    EXPECT_EQ(DovaUnlock(h, 300), DOVA_OK);
    uint32_t written = 0;
    EXPECT_EQ(DovaWrite(h, "\x1b@abc", 5, &written, 0, 0, 0), DOVA_OK);
    EXPECT_EQ(written, 5u);
    EXPECT_EQ(DovaRelease(h, 5000), DOVA_OK);
    EXPECT_EQ(DovaClose(h), DOVA_OK);
    EXPECT_EQ(played.calls(), "NDX_Initialize()\n"
                              "NDX_Open(L\"192.168.1.20:9100\", L\"ULMPRT001\", 0, 1)\n"
                              "NDX_RegisterCallback(0, 20036, callback, port)\n"
                              "NDX_Lock(20036, 300)\n"
                              "NDX_Unlock(20036)\n"
                              "NDX_Send(20036, 0, 0, 1000, 5)\n"
                              "NDX_Unlock(20036)\n"
                              "NDX_UnRegisterCallback(0, 20036)\n"
                              "NDX_Close(20036)\n"
                              "NDX_Terminate()\n");
    EXPECT_EQ(played.taken(), "\x1b@abc");
    std::string t = trace.text();
    for (const char* line :
         {"DOVA: WNDX::claim()\nDOVA:  '192.168.1.20:9100' 'ULMPRT001'=00000000\n",
          "DOVA: WNDX::procSend() Start\n", "DOVA: WNDX::lock(300)\n", "DOVA: WNDX::unlock(300)\n",
          "DOVA: WNDX::release(5000)\n", "DOVA: WNDX::procSend() End\n"})
        EXPECT_NE(t.find(line), std::string::npos) << line << "\n---\n" << t;
}

// The target's address and number, the channel, and for WWTS the remote
// session's client, become the host, device and mode the library opens.
TEST_F(Ndx, TargetsOpenTheirHostDeviceAndMode) {
    const struct {
        const char* target;
        const char* session; // SSH_CONNECTION, null: unset
        const char* open;
    } cases[] = {
        {"NDX@192.168.1.20:9100", nullptr,
         "NDX_Open(L\"192.168.1.20:9100\", L\"ULMPRT001\", 0, 1)"},
        {"NDX", nullptr, "NDX_Open(L\"\", L\"ULMPRT001\", 0, 1)"},
        {"NDXCD3", nullptr, "NDX_Open(L\"\", L\"ULMPRT003\", 0, 2)"},
        {"KPNDX@10.1.2.3", nullptr, "NDX_Open(L\"10.1.2.3:2291\", L\"ULMPRT001\", 0, 1)"},
        {"CDWTS", "10.9.8.7 50000 10.0.0.1 22",
         "NDX_Open(L\"10.9.8.7:2291\", L\"ULMPRT001\", 0, 2)"},
        {"KPWTS@192.168.1.20:9100", "10.9.8.7 50000 10.0.0.1 22",
         "NDX_Open(L\"192.168.1.20:9100\", L\"ULMPRT001\", 0, 1)"},
        {"KPWTS", "::1 50000 ::1 22", "NDX_Open(L\"\", L\"ULMPRT001\", 0, 1)"},
        {"KPWTS", nullptr, "NDX_Open(L\"\", L\"ULMPRT001\", 0, 1)"},
    };
    for (const auto& c : cases) {
        ScopedEnvironment session("SSH_CONNECTION", c.session);
        played.reset();
        DOVA_HANDLE h = DovaOpenByName(c.target, 1);
        ASSERT_NE(h, DOVA_INVALID_HANDLE) << c.target;
        EXPECT_EQ(DovaClaim(h, 0), DOVA_OK) << c.target;
        EXPECT_EQ(callOf(played.calls(), "NDX_Open"), c.open) << c.target;
        DovaClose(h);
    }
}

TEST_F(Ndx, NumberLimitsTheDeviceName) {
    WNDX port;
    EXPECT_EQ(port.setNo(1000), DOVA_E_ADDRESS);
    EXPECT_EQ(port.setNo(0), DOVA_E_ADDRESS);
    EXPECT_EQ(port.claim(0), DOVA_E_ADDRESS) << "no number, no name";
    EXPECT_EQ(port.setNo(999), DOVA_OK);
    ASSERT_EQ(port.claim(0), DOVA_OK);
    EXPECT_EQ(callOf(played.calls(), "NDX_Open"), "NDX_Open(L\"\", L\"ULMPRT999\", 0, 1)");
    EXPECT_EQ(port.setNo(5), DOVA_E_SYSTEM);
    char name[260];
    EXPECT_EQ(port.getName(name), DOVA_OK);
    EXPECT_STREQ(name, "ULMPRT999");
    port.release(0);
    EXPECT_EQ(port.setName("PRINTER7"), DOVA_OK);
    ASSERT_EQ(port.claim(0), DOVA_OK);
    EXPECT_EQ(callOf(played.calls(), "NDX_Open"), "NDX_Open(L\"\", L\"PRINTER7\", 0, 1)");
}

TEST_F(Ndx, RefusalsBecomeTheirCodes) {
    {
        played.script("NDX_Open", int64_t(0x80000005u));
        WNDX port;
        port.setNo(1);
        EXPECT_EQ(port.claim(0), DOVA_E_OPEN);
        EXPECT_EQ(port.isOpen(), 0);
    }
    EXPECT_EQ(played.calls(),
              "NDX_Initialize()\nNDX_Open(L\"\", L\"ULMPRT001\", 0, 1)\nNDX_Terminate()\n");

    played.reset();
    played.script("NDX_RegisterCallback", 1);
    {
        WNDX port;
        port.setNo(1);
        EXPECT_EQ(port.claim(0), DOVA_E_OPEN);
        EXPECT_EQ(port.isOpen(), 0);
    }
    EXPECT_NE(played.calls().find("NDX_RegisterCallback(0, 20036, callback, port)\n"
                                  "NDX_Unlock(20036)\nNDX_UnRegisterCallback(0, 20036)\n"
                                  "NDX_Close(20036)\n"),
              std::string::npos)
        << played.calls();

    played.reset();
    WNDX port;
    EXPECT_EQ(port.reset(), DOVA_E_RESET) << "closed";
    EXPECT_EQ(played.calls(), "NDX_Initialize()\n");
    port.setNo(1);
    ASSERT_EQ(port.claim(0), DOVA_OK);
    played.script("NDX_Lock", 1);
    played.script("NDX_Unlock", 1);
    played.script("NDX_ResetDevice", 1);
    EXPECT_EQ(port.lock(0), DOVA_E_LOCK);
    EXPECT_EQ(port.unlock(0), DOVA_E_UNLOCK);
    EXPECT_EQ(port.reset(), DOVA_E_RESET);
    EXPECT_EQ(callOf(played.calls(), "NDX_ResetDevice"), "NDX_ResetDevice(20036, 2)");
}

TEST_F(Ndx, DataFromTheLibraryThreadReachRead) {
    DOVA_HANDLE h = DovaOpenByName("NDX", 1);
    ASSERT_EQ(DovaClaim(h, 0), DOVA_OK);
    played.deliver(0x20000000, "ignored", 1);
    played.delivered();
    played.deliver(0x10000000, "abc", 200);
    std::string expected;
    for (int i = 0; i < 200; ++i)
        expected += "abc";
    EXPECT_EQ(readSome(h, expected.size()), expected);
    played.delivered();
    uint32_t n = 0;
    char rest[8];
    EXPECT_EQ(DovaRead(h, rest, sizeof rest, &n, 0), DOVA_OK);
    EXPECT_EQ(n, 0u) << "another event queued nothing";
    EXPECT_EQ(DovaRelease(h, 0), DOVA_OK);
    DovaClose(h);
}

// The library keeps calling back until the port unregisters; release frees
// the queues before that, and nothing may touch them once they are gone.
TEST_F(Ndx, ReleaseWhileTheLibraryDelivers) {
    for (int round = 0; round < 20; ++round) {
        DOVA_HANDLE h = DovaOpenByName("NDX", 1);
        ASSERT_EQ(DovaClaim(h, 0), DOVA_OK);
        played.deliver(0x10000000, "data", 0);
        readSome(h, 4);
        EXPECT_EQ(DovaRelease(h, 0), DOVA_OK);
        DovaClose(h);
    }
}

struct Gw : ::testing::Test {
    PlayedService played{"OrvanGW.dll"};
    void SetUp() override {
        ASSERT_TRUE(played.isLoaded());
        played.reset();
    }
};

TEST_F(Gw, OneSessionCallsTheHandlerInOrder) {
    TraceCapture trace;
    DOVA_HANDLE h = DovaOpenByName("GWCD@10.0.0.5", 1);
    ASSERT_NE(h, DOVA_INVALID_HANDLE);
    EXPECT_EQ(DovaGetIFType(h), DOVA_IF_GW);
    ASSERT_EQ(DovaClaim(h, 250), DOVA_OK);
    EXPECT_EQ(DovaForce(h, 1), DOVA_OK);
    uint32_t written = 0;
    EXPECT_EQ(DovaWrite(h, "\x1b@abc", 5, &written, 0, 0, 0), DOVA_OK);
    EXPECT_EQ(DovaRelease(h, 5000), DOVA_OK);
    DovaClose(h);
    std::string calls = played.calls();
    EXPECT_EQ(calls, "Open(L\"tcp://10.0.0.5/CD/ULMPRT001\")\n"
                     "Lock(26455, 250)\n"
                     "RegisterCallback(26455, 0x60002, callback, port)\n"
                     "Ioctl(26455, 0x60060005, &2, 4, null, 0, null)\n"
                     "SendReceive(26455, 5, 0, 1000, buffer, 0)\n"
                     "UnRegisterCallback(26455, 0x60002, callback, port)\n"
                     "Unlock(26455)\n"
                     "Close(26455)\n");
    EXPECT_EQ(played.taken(), "\x1b@abc");
    std::string t = trace.text();
    for (const char* line :
         {"DOVA: WGW::claim()\n", "DOVA:  'tcp://10.0.0.5/CD/ULMPRT001'=00000000\n",
          "DOVA: WGW::procSend() Start\n", "DOVA: WGW::release(5000)\n",
          "DOVA: WGW::procSend() End\n"})
        EXPECT_NE(t.find(line), std::string::npos) << line << "\n---\n" << t;
}

TEST_F(Gw, TargetsOpenTheirPortNames) {
    const std::pair<const char*, const char*> cases[] = {
        {"GWQS", "Open(L\"pipe://QS/ULMPRT001\")"},
        {"GW", "Open(L\"pipe://KP/ULMPRT001\")"},
        {"CDGW2", "Open(L\"pipe://CD/ULMPRT002\")"},
        {"KPGW7@10.0.0.5", "Open(L\"tcp://10.0.0.5/KP/ULMPRT007\")"},
        {"QSGW@10.0.0.5:9100", "Open(L\"tcp://10.0.0.5/QS/ULMPRT001\")"},
    };
    for (auto [target, open] : cases) {
        played.reset();
        DOVA_HANDLE h = DovaOpenByName(target, 1);
        EXPECT_EQ(DovaClaim(h, 0), DOVA_OK) << target;
        EXPECT_EQ(callOf(played.calls(), "Open"), open) << target;
        DovaClose(h);
    }
}

TEST_F(Gw, HandlerResultsAreMapped) {
    WGW port;
    port.setNo(1);
    ASSERT_EQ(port.claim(0), DOVA_OK);
    const std::pair<uint32_t, int32_t> cases[] = {
        {0, 0},
        {0x80000001u, 1001},
        {0x80000003u, 1001},
        {0x80000006u, 1011},
        {0x80010001u, 1018},
        {0x80060000u, 1029},
        {0x80004005u, 9999},
        {1, 9999},
    };
    for (auto [result, code] : cases) {
        played.script("Lock", int64_t(int32_t(result)));
        played.script("Unlock", int64_t(int32_t(result)));
        played.script("Ioctl", int64_t(int32_t(result)));
        EXPECT_EQ(port.lock(0), code) << std::hex << result;
        EXPECT_EQ(port.unlock(0), code) << std::hex << result;
        EXPECT_EQ(port.ioctl(0x1234, 0, 0, 0, 0, 0), code) << std::hex << result;
        EXPECT_EQ(port.reset(), result ? DOVA_E_SYSTEM : DOVA_OK) << std::hex << result;
        EXPECT_EQ(port.force(0), result ? DOVA_E_FORCE : DOVA_OK) << std::hex << result;
    }
    played.script("Unlock", 0);
    EXPECT_NE(played.calls().find("Ioctl(26455, 0x1234, null, 0, null, 0, null)\n"
                                  "Ioctl(26455, 0x60060004, null, 0, null, 0, null)\n"
                                  "Ioctl(26455, 0x60060005, &1, 4, null, 0, null)\n"),
              std::string::npos);
    played.reset();
    EXPECT_EQ(port.ioctl(0x1234, 0x1000, 4, 0, 0, 0), DOVA_E_PARAM)
        << "no pointer fits a 32-bit value here";
    EXPECT_EQ(played.calls(), "");
}

TEST_F(Gw, ClaimRefusals) {
    const struct {
        const char* key;
        int32_t code;
        const char* lastCall;
    } cases[] = {
        {"Open", DOVA_E_OPEN, "Open(L\"pipe://KP/ULMPRT001\")\n"},
        {"Lock", DOVA_E_LOCK, "Close(26455)\n"},
        {"RegisterCallback", DOVA_E_DRIVER, "Close(26455)\n"},
    };
    for (const auto& c : cases) {
        played.reset();
        played.script(c.key, int64_t(int32_t(0x80000005u)));
        WGW port;
        port.setNo(1);
        EXPECT_EQ(port.claim(0), c.code) << c.key;
        EXPECT_EQ(port.isOpen(), 0) << c.key;
        std::string calls = played.calls();
        EXPECT_EQ(calls.substr(calls.size() - std::string(c.lastCall).size()), c.lastCall)
            << c.key << "\n"
            << calls;
    }
    WGW unnumbered;
    EXPECT_EQ(unnumbered.claim(0), DOVA_E_ADDRESS);
}

TEST_F(Gw, DataFromTheHandlerThreadReachRead) {
    TraceCapture trace;
    DOVA_HANDLE h = DovaOpenByName("GW", 1);
    ASSERT_EQ(DovaClaim(h, 0), DOVA_OK);
    played.deliver(1, "\x10\x04\x12", 100);
    std::string got = readSome(h, 300);
    played.delivered();
    std::string expected;
    for (int i = 0; i < 100; ++i)
        expected += "\x10\x04\x12";
    EXPECT_EQ(got, expected);
    EXPECT_NE(trace.text().find("DOVA: WGW::procCallback()"), std::string::npos);
    EXPECT_EQ(DovaRelease(h, 0), DOVA_OK);
    DovaClose(h);
}

TEST_F(Gw, ReleaseWhileTheHandlerDelivers) {
    for (int round = 0; round < 20; ++round) {
        DOVA_HANDLE h = DovaOpenByName("GW", 1);
        ASSERT_EQ(DovaClaim(h, 0), DOVA_OK);
        played.deliver(1, "data", 0);
        readSome(h, 4);
        EXPECT_EQ(DovaRelease(h, 0), DOVA_OK);
        DovaClose(h);
    }
}

} // namespace
