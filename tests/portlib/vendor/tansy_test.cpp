// WTansy and WTansyA against the played libULMPAX04.so, found under the
// test's own Program Files folder.
#include "backends/vendor/tansy.h"
#include "backends/vendor/tansy_threads.h"
#include "vendor_test_support.h"

#include <dova/dova.h>
#include <gtest/gtest.h>

#include <semaphore>
#include <thread>

namespace {

constexpr const char* libraryName = "C:\\Program Files\\ORVAN\\ORVAN Brisaprint 4\\ULMPAX04.DLL";
constexpr const char* directOpen =
    "SD_CreateFile(L\"ULM_LPT1:\", 0xC0000000, 0, null, 3, 0x80, null)\n";
constexpr const char* overlappedOpen =
    "SD_CreateFile(L\"ULM_LPT1:\", 0xC0000000, 0, null, 3, 0x40000080, null)\n";

struct TansyPort : ::testing::Test {
    // Before the library is first loaded: it is looked for once per process.
    ScopedConfig config{"ProgramFiles=" VENDOR_PROGRAM_FILES "\n"};
    PlayedLibrary played{libraryName};
    void SetUp() override {
        ASSERT_TRUE(played.isLoaded());
        played.reset();
    }
};

TEST_F(TansyPort, OneSessionCallsTheLibraryInOrder) {
    WTansy port;
    TraceCapture trace;
    ASSERT_EQ(port.claim(0), DOVA_OK);
    EXPECT_EQ(port.getHandle(), 0x7A0);
    uint32_t n = 0;
    EXPECT_EQ(port.send("\x1b@", 2, &n, 0, 0, 0), DOVA_OK);
    EXPECT_EQ(n, 2u);
    EXPECT_EQ(port.force(1), DOVA_OK);
    EXPECT_EQ(port.send("abc", 3, &n, 0, 0, 0), DOVA_OK);
    played.readData("ok");
    char buffer[8] = {};
    EXPECT_EQ(port.recv(buffer, sizeof buffer, &n, 0), DOVA_OK);
    EXPECT_EQ(std::string(buffer, n), "ok");
    EXPECT_EQ(port.reset(), DOVA_OK);
    EXPECT_EQ(port.isReady(), 1);
    EXPECT_EQ(port.release(100), DOVA_OK);
    EXPECT_EQ(port.release(100), DOVA_OK);
    EXPECT_EQ(played.calls(), std::string(directOpen) + "SD_WriteFile(1952, 2, null)\n"
                                                        "SD_WriteFile2(1952, 3, null)\n"
                                                        "SD_ReadFile(1952, 8, null)\n"
                                                        "SD_HWReset(1952)\n"
                                                        "SD_CloseHandle(1952)\n");
    EXPECT_EQ(played.taken(), "\x1b@abc");
    EXPECT_EQ(trace.text(), "DOVA: WTansy::claim()\n"
                            "DOVA:  'ULM_LPT1:'=000007A0\n"
                            "DOVA: WTansy::release(100)\n");
}

TEST_F(TansyPort, TheNumberOfTheTargetDoesNotChangeTheDevice) {
    ASSERT_EQ(DovaStartup(nullptr), DOVA_OK);
    DOVA_HANDLE handle = DovaOpenByName("TANSY2", 0);
    ASSERT_NE(handle, DOVA_HANDLE(0));
    EXPECT_EQ(DovaGetIFType(handle), DOVA_IF_TANSY);
    EXPECT_EQ(DovaClaim(handle, 0), DOVA_OK);
    EXPECT_EQ(DovaClose(handle), DOVA_OK);
    DovaCleanup();
    EXPECT_EQ(played.calls(), std::string(directOpen) + "SD_CloseHandle(1952)\n");
}

TEST_F(TansyPort, RefusalsBecomeTheLibraryCodes) {
    WTansy port;
    played.script("SD_CreateFile", -1);
    TraceCapture trace;
    EXPECT_EQ(port.claim(0), DOVA_E_OPEN);
    EXPECT_EQ(trace.text(), "DOVA: WTansy::claim()\nDOVA:  'ULM_LPT1:'=FFFFFFFF\n");
    uint32_t n = 9;
    EXPECT_EQ(port.send("x", 1, &n, 0, 0, 0), DOVA_E_WRITE) << "closed";
    EXPECT_EQ(n, 0u);
    EXPECT_EQ(port.reset(), DOVA_E_RESET) << "closed";

    played.reset();
    ASSERT_EQ(port.claim(0), DOVA_OK);
    played.script("SD_WriteFile", 0);
    played.script("SD_ReadFile", 0);
    played.script("SD_HWReset", 0);
    EXPECT_EQ(port.send("x", 1, &n, 0, 0, 0), DOVA_E_WRITE);
    char b[4];
    EXPECT_EQ(port.recv(b, sizeof b, &n, 0), DOVA_E_READ);
    EXPECT_EQ(port.reset(), DOVA_E_RESET);
    played.script("SD_WriteFile", 1);
    played.script("SD_WriteFile.done", 50);
    EXPECT_EQ(port.send("xyz", 3, &n, 0, 0, 0), DOVA_OK);
    EXPECT_EQ(n, 3u) << "a count above the offer is capped";
}

// Waits for the receive worker's hook, so the test reads only after the
// worker stored what it read.
std::binary_semaphore received{0};
void onReceived(DovaBase*, uint32_t) {
    received.release();
}

TEST_F(TansyPort, WorkersTransferOverlapped) {
    WTansyA port;
    port.recvHook = onReceived;
    played.script("SD_WriteFile", 0); // every write goes on in the background
    played.readData("st");
    TraceCapture trace;
    ASSERT_EQ(port.claim(0), DOVA_OK);
    received.acquire();
    char buffer[8];
    uint32_t n = 0;
    EXPECT_EQ(port.recv(buffer, sizeof buffer, &n, 0), DOVA_OK);
    EXPECT_EQ(std::string(buffer, n), "st");
    EXPECT_EQ(port.send("hello", 5, &n, 0, 0, 0), DOVA_OK);
    EXPECT_EQ(port.release(5000), DOVA_OK) << "the background write drained the queue";
    EXPECT_EQ(played.calls(), std::string(overlappedOpen) + "SD_ReadFile(1952, 4096, overlapped)\n"
                                                            "SD_WriteFile(1952, 5, overlapped)\n"
                                                            "SD_CloseHandle(1952)\n");
    EXPECT_EQ(played.taken(), "hello");
    std::string text = trace.text();
    EXPECT_EQ(text.find("DOVA: WTansyA::claim()\nDOVA:  'ULM_LPT1:'=000007A0\n"), 0u) << text;
    EXPECT_NE(text.find("DOVA: WTansyA::procSend() Start\n"), std::string::npos);
    EXPECT_NE(text.find("DOVA: WTansyA::procRecv() End\n"), std::string::npos);
    EXPECT_NE(text.find("DOVA: WTansyA::release(5000)\n"), std::string::npos);
}

TEST_F(TansyPort, ForcedWritesOfTheWorker) {
    WTansyA port;
    ASSERT_EQ(port.claim(0), DOVA_OK);
    EXPECT_EQ(port.force(1), DOVA_OK);
    uint32_t n = 0;
    EXPECT_EQ(port.send("abc", 3, &n, 0, 0, 0), DOVA_OK);
    EXPECT_EQ(port.release(5000), DOVA_OK);
    EXPECT_EQ(played.calls(), std::string(overlappedOpen) + "SD_WriteFile2(1952, 3, overlapped)\n" +
                                  "SD_CloseHandle(1952)\n");
}

TEST_F(TansyPort, WriteThatNeverEndsIsLeftAtRelease) {
    WTansyA port;
    played.script("SD_WriteFile", 0);
    played.script("SD_WriteFile.finishes", 0);
    TraceCapture trace;
    ASSERT_EQ(port.claim(0), DOVA_OK);
    uint32_t n = 0;
    EXPECT_EQ(port.send("abc", 3, &n, 0, 0, 0), DOVA_OK);
    // Stop only once the worker waits on the write (ctest's time-out bounds this).
    while (played.calls().find("SD_WriteFile(") == std::string::npos)
        std::this_thread::yield();
    EXPECT_EQ(port.release(0), DOVA_OK) << "a release without a drain time-out does not wait";
    EXPECT_EQ(port.isOpen(), 0);
    EXPECT_NE(trace.text().find("DOVA: WQuit\n"), std::string::npos) << trace.text();
}

TEST_F(TansyPort, FailedWritesOfTheWorker) {
    struct Case {
        const char* what;
        int64_t error;      // the call's answer (997: pending)
        int64_t finalError; // the pending transfer's end
        const char* line;
        int32_t released; // 1: the device was given up, the data not delivered
    };
    const Case cases[] = {
        {"refused at once", 31, 0, "DOVA: WriteFile dwErr=31\n", 0},
        {"ended with an error", 997, 1117, "DOVA: WGOR(3/3) dwErr=1117 *****\n", 0},
        {"device gone", 6, 0, nullptr, 1},
    };
    for (const Case& c : cases) {
        played.reset();
        // Fails once, then the retry after the engine's pause succeeds.
        played.script("SD_WriteFile", 0);
        played.script("SD_WriteFile", c.error == 6 ? 0 : 1);
        played.script("SD_WriteFile.error", c.error);
        played.script("SD_WriteFile.finalError", c.finalError);
        WTansyA port;
        TraceCapture trace;
        ASSERT_EQ(port.claim(0), DOVA_OK) << c.what;
        uint32_t n = 0;
        EXPECT_EQ(port.send("abc", 3, &n, 0, 0, 0), DOVA_OK);
        EXPECT_EQ(port.release(10000), c.released) << c.what;
        std::string text = trace.text();
        if (c.line) {
            EXPECT_NE(text.find(c.line), std::string::npos) << c.what << "\n" << text;
        }
        EXPECT_EQ(text.find("dwErr=6"), std::string::npos) << "a lost device is not traced";
    }
}

} // namespace
