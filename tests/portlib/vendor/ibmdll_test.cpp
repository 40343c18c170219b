// WIBMDLL and WIBMDLLA against the played libWNTSFPRT.so, and the device
// status the worker prints.
#include "backends/vendor/ibm_device_status.h"
#include "backends/vendor/ibmdll.h"
#include "backends/vendor/ibmdll_threads.h"
#include "vendor_test_support.h"

#include <dova/dova.h>
#include <gtest/gtest.h>

#include <cstring>

namespace {

constexpr const char* closing = "PrtEndTrans(6989)\nPrtCloseDevice(6989)\n";

struct IbmPort : ::testing::Test {
    PlayedLibrary played{"WNTSFPRT.DLL"};
    void SetUp() override {
        ASSERT_TRUE(played.isLoaded());
        played.reset();
    }
};

TEST_F(IbmPort, OneSessionCallsTheLibraryInOrder) {
    WIBMDLL port;
    ASSERT_EQ(port.setNo(2), DOVA_OK);
    played.script("PrtGetEnvVars.0", 0x0004000300020001);
    played.script("PrtGetEnvVars.3", 0x1234);
    TraceCapture trace;
    ASSERT_EQ(port.claim(3000), DOVA_OK);
    EXPECT_EQ(port.getHandle(), 0x1B4D);
    EXPECT_EQ(port.setNo(3), DOVA_E_SYSTEM);
    EXPECT_EQ(port.lock(0), DOVA_OK);
    uint32_t n = 0;
    EXPECT_EQ(port.send("\x1b@abc", 5, &n, 0, 0, 0), DOVA_OK);
    EXPECT_EQ(n, 5u);
    played.readData("ok");
    char buffer[16] = {};
    EXPECT_EQ(port.recv(buffer, sizeof buffer, &n, 0), DOVA_OK);
    EXPECT_EQ(std::string(buffer, n), "ok");
    EXPECT_EQ(port.unlock(0), DOVA_OK);
    EXPECT_EQ(port.release(0), DOVA_OK);
    EXPECT_EQ(port.release(0), DOVA_OK);
    EXPECT_EQ(played.calls(), std::string("PrtOpenDevice(2, 3000)\n"
                                          "PrtBeginTrans(6989, 0)\n"
                                          "PrtGetEnvVars(6989, 1, 0)\n"
                                          "PrtGetEnvVars(6989, 1, 1)\n"
                                          "PrtGetEnvVars(6989, 1, 3)\n"
                                          "PrtWriteDevice(6989, 1, 5)\n"
                                          "PrtReadDevice(6989, 1, 16)\n") +
                                  closing);
    EXPECT_EQ(played.taken(), "\x1b@abc");
    EXPECT_EQ(trace.text(), "DOVA: WIBMDLL::claim(2)\n"
                            "Error Ctrs = 0x0001, 0x0002, 0x0003, 0x0004\n"
                            "POR Status = 0000\n"
                            "Printer Id = 0x34\n\n"
                            "DOVA: PrtWriteDevice(5, 5)=0\n"
                            "DOVA: PrtReadDevice(16, 2)=0\n"
                            "DOVA: WIBMDLL::release(0)\n");
}

TEST_F(IbmPort, TransactionStartAcceptsTheBusyAnswers) {
    struct Case {
        int64_t begin;
        int32_t expected;
        bool readsStatus;
    };
    const Case cases[] = {{1288, DOVA_OK, true},
                          {1290, DOVA_OK, true},
                          {1299, DOVA_OK, true},
                          {1289, 9999 + 1289, false},
                          {5, 9999 + 5, false}};
    WIBMDLL port;
    port.setNo(1);
    for (const Case& c : cases) {
        ASSERT_EQ(port.claim(0), DOVA_OK);
        played.reset();
        played.script("PrtBeginTrans", c.begin);
        EXPECT_EQ(port.lock(0), c.expected) << c.begin;
        std::string statusReads = c.readsStatus ? "PrtGetEnvVars(6989, 1, 0)\n"
                                                  "PrtGetEnvVars(6989, 1, 1)\n"
                                                  "PrtGetEnvVars(6989, 1, 3)\n"
                                                : "";
        EXPECT_EQ(played.calls(), "PrtBeginTrans(6989, 0)\n" + statusReads) << c.begin;
        port.release(0);
    }
}

TEST_F(IbmPort, LibraryResultsAreKeptAbove9999) {
    WIBMDLL port;
    port.setNo(1);
    ASSERT_EQ(port.claim(0), DOVA_OK);
    played.script("PrtWriteDevice", 3);
    played.script("PrtWriteDevice.length", 2);
    TraceCapture trace;
    uint32_t n = 0;
    EXPECT_EQ(port.send("abcd", 4, &n, 0, 0, 0), 9999 + 3);
    EXPECT_EQ(n, 2u) << "what the printer took is reported";
    played.script("PrtReadDevice", 0xFFFF);
    char b[4];
    EXPECT_EQ(port.recv(b, sizeof b, &n, 0), 9999 + 0xFFFF) << "a 16-bit result is unsigned";
    played.script("PrtGetCP", 2);
    EXPECT_EQ(port.getCodePage(437), 9999 + 2);
    played.script("PrtSetCP", 0);
    EXPECT_EQ(port.setCodePage(850, 1), DOVA_OK);
    EXPECT_EQ(trace.text(), "DOVA: PrtWriteDevice(4, 2)=3\nDOVA: PrtReadDevice(4, 0)=65535\n");
    played.reset();
    std::vector<uint8_t> big(65536);
    EXPECT_EQ(port.send(big.data(), uint32_t(big.size()), &n, 0, 0, 0), DOVA_E_SYSTEM);
    EXPECT_EQ(port.getEnvVars(nullptr, 0), DOVA_E_PARAM);
    EXPECT_EQ(played.calls(), "") << "neither reaches the library";
}

TEST_F(IbmPort, PassThroughSlotsReachTheLibrary) {
    WIBMDLL port;
    port.setNo(1);
    ASSERT_EQ(port.claim(0), DOVA_OK);
    played.reset();
    played.script("PrtDeviceStatus.value", 0x0003'0080'8001);
    uint8_t status[8] = {};
    uint16_t size = 6;
    EXPECT_EQ(port.deviceStatus(2, status, &size), DOVA_OK);
    EXPECT_EQ(size, 6u);
    EXPECT_EQ(status[0], 0x01);
    EXPECT_EQ(status[4], 0x03);
    played.script("PrtGetEnvVars.0", 0x1234);
    uint8_t values[8] = {};
    EXPECT_EQ(port.getEnvVar(5, values), DOVA_OK);
    EXPECT_EQ(values[0], 0x34);
    EXPECT_EQ(port.getEnvVars(values, 3), DOVA_OK);
    played.script("PrtDeviceStatus", 7);
    EXPECT_EQ(port.deviceStatus(0, status, &size), 9999 + 7);
    EXPECT_EQ(port.deviceStatus(0, status, nullptr), DOVA_E_PARAM);
    EXPECT_EQ(port.getEnvVar(1, nullptr), DOVA_E_PARAM);
    EXPECT_EQ(played.calls(), "PrtDeviceStatus(6989, 1, 2, 6)\n"
                              "PrtGetEnvVars(6989, 5, 0)\n"
                              "PrtGetEnvVars(6989, 1, 3)\n"
                              "PrtDeviceStatus(6989, 1, 0, 6)\n");
}

TEST_F(IbmPort, ClaimChecksTheNumberAndTheOpen) {
    WIBMDLL port;
    EXPECT_EQ(port.claim(0), DOVA_E_ADDRESS) << "no number set";
    port.setNo(0);
    EXPECT_EQ(port.claim(0), DOVA_E_ADDRESS);
    EXPECT_EQ(played.calls(), "");
    port.setNo(4);
    played.script("PrtOpenDevice", 1);
    EXPECT_EQ(port.claim(0), DOVA_E_OPEN);
    EXPECT_EQ(port.isOpen(), 0);
    EXPECT_EQ(port.release(0), DOVA_OK);
    EXPECT_EQ(played.calls(), "PrtOpenDevice(4, 0)\n");
}

TEST_F(IbmPort, WorkerHandsTheQueueToTheLibraryAndPrintsARefusal) {
    WIBMDLLA port;
    port.setNo(1);
    // The first write is refused with nothing taken; the retry takes it all.
    played.script("PrtWriteDevice", 6);
    played.script("PrtWriteDevice", 0);
    played.script("PrtWriteDevice.length", 0);
    played.script("PrtWriteDevice.length", 5);
    played.script("PrtDeviceStatus.value", 0x000300108081);
    TraceCapture trace;
    ::testing::internal::CaptureStdout();
    ASSERT_EQ(port.claim(0), DOVA_OK);
    uint32_t n = 0;
    EXPECT_EQ(port.send("hello", 5, &n, 0, 0, 0), DOVA_OK);
    EXPECT_EQ(n, 5u);
    EXPECT_EQ(port.release(10000), DOVA_OK);
    std::string printed = ::testing::internal::GetCapturedStdout();
    EXPECT_EQ(played.taken(), "hello");
    EXPECT_EQ(played.calls(), std::string("PrtOpenDevice(1, 0)\n"
                                          "PrtWriteDevice(6989, 1, 5)\n"
                                          "PrtDeviceStatus(6989, 1, 0, 6)\n"
                                          "PrtWriteDevice(6989, 1, 5)\n") +
                                  closing);
    EXPECT_EQ(printed, "Exception 8081\n"
                       " Bit15 Multi-user operator panel function\n"
                       " Bit07 POR complete exception\n"
                       " Bit00 Stop key pressed or cover open exception\n"
                       "Error 0010\n"
                       " Bit04 Hardware error\n"
                       "Count = 3\n\n");
    std::string t = trace.text();
    EXPECT_EQ(t.rfind("DOVA: WIBMDLLA::claim(1)\n", 0), 0u) << t;
    EXPECT_NE(t.find("DOVA: WIBMDLLA::procSend() Start\n"), std::string::npos) << t;
    EXPECT_NE(t.find("DOVA: WIBMDLLA::release(10000)\n"), std::string::npos) << t;
}

TEST(IbmDeviceStatus, EveryBitHasItsLineInOrder) {
    auto text = [](uint16_t exception, uint16_t error, uint16_t count) {
        uint16_t words[3] = {exception, error, count};
        uint8_t bytes[6];
        std::memcpy(bytes, words, sizeof bytes);
        return ibmDeviceStatusText(bytes);
    };
    EXPECT_EQ(text(0, 0, 0), "Exception 0000\nError 0000\nCount = 0\n\n");
    EXPECT_EQ(text(0xFFFF, 0xFFFF, 65535),
              "Exception FFFF\n"
              " Bit15 Multi-user operator panel function\n"
              " Bit14 Document ejected\n"
              " Bit13 \n"
              " Bit12 Multi-user operator panel installed\n"
              " Bit11 Multi-user operator panel function key 1 pressed\n"
              " Bit10 \n"
              " Bit09 End of document exception\n"
              " Bit08 Multi-user operator panel function key 3 pressed\n"
              " Bit07 POR complete exception\n"
              " Bit06 Multi-user operator panel enter or function key pressed\n"
              " Bit05 Start 1 key pressed\n"
              " Bit04 Start 2 key pressed\n"
              " Bit03 Document registered\n"
              " Bit02 \n"
              " Bit01 \n"
              " Bit00 Stop key pressed or cover open exception\n"
              "Error FFFF\n"
              " Bit07 Multi-user operator panel error\n"
              " Bit06 Message overflow error\n"
              " Bit05 Patch data error\n"
              " Bit04 Hardware error\n"
              " Bit03 Journal feature not available\n"
              " Bit02 \n"
              " Bit01 \n"
              " Bit00 REMS feature not installed\n"
              "Count = 65535\n\n")
        << "the error word's high byte has no lines";
}

} // namespace
