// WLibusb and WLibusbA against the played libusb-0.1.so.4.
#include "backends/libusb/libusb.h"
#include "backends/libusb/libusb_threads.h"
#include "os/os_library.h"
#include "vendor_test_support.h"

#include <dova/dova.h>
#include <gtest/gtest.h>

#include <condition_variable>
#include <mutex>

namespace {

const char* const printer = "bus device 04B8 0202 config interface alt 7 2 ep 81 2 ep 01 2";

struct LibusbPort : ::testing::Test {
    PlayedLibrary played{"libusb-0.1.so.4"};
    os::Library control = os::Library::load("libusb-0.1.so.4");
    void SetUp() override {
        ASSERT_TRUE(played.isLoaded());
        played.reset();
    }
    // Takes effect at the next port's construction (usb_find_devices).
    void layout(const char* text) {
        control.function<void (*)(const char*)>("PlayerUsbLayout")(text);
    }
};

TEST_F(LibusbPort, DirectSessionFromDiscoveryToClose) {
    layout(printer);
    WLibusb port;
    EXPECT_EQ(port.getIFType(), 0x23u);
    EXPECT_STREQ(port.getTypeName(), "LIBUSB");
    EXPECT_EQ(port.getHandle(), -1);
    TraceCapture trace;
    ASSERT_EQ(port.claim(0), DOVA_OK);
    EXPECT_EQ(port.isOpen(), 1);
    uint32_t n = 0;
    EXPECT_EQ(port.send("abc", 3, &n, 0, 0, 0), DOVA_OK);
    EXPECT_EQ(n, 3u);
    played.readData("ok");
    char buffer[16] = {};
    EXPECT_EQ(port.recv(buffer, sizeof buffer, &n, 0), DOVA_OK);
    EXPECT_EQ(std::string(buffer, n), "ok");
    EXPECT_EQ(port.release(100), DOVA_OK);
    EXPECT_EQ(port.release(100), DOVA_OK);
    EXPECT_EQ(port.isOpen(), 0);
    EXPECT_EQ(played.calls(), "usb_init()\n"
                              "usb_find_busses()\n"
                              "usb_find_devices()\n"
                              "usb_get_busses()\n"
                              "usb_open(001/001)\n"
                              "usb_set_configuration(h, 1)\n"
                              "usb_claim_interface(h, 0)\n"
                              "usb_bulk_write(h, 1, 3, 5000)\n"
                              "usb_bulk_read(h, 129, 16, 500)\n"
                              "usb_release_interface(h, 0)\n"
                              "usb_close(h)\n");
    EXPECT_EQ(played.taken(), "abc");
    EXPECT_EQ(trace.text(), "DOVA: WLibusb::claim()\n"
                            "VID=04B8h PID=0202h\n"
                            "interface class =7\n"
                            "bmAttributes    =02h\n"
                            "bEndpointAddress=81h\n"
                            "bmAttributes    =02h\n"
                            "bEndpointAddress=01h\n"
                            "EP_OUT=01h\n"
                            "EP_IN =81h\n"
                            "DOVA: WLibusb::release(100)\n");
}

struct Discovery {
    const char* what;
    const char* layout;
    int32_t claim;
    const char* opened; // the usb_open line, "" when none
    uint8_t out, in;
};

const Discovery discoveries[] = {
    {"only an IEEE 1284.4 interface", "bus device 1111 0001 config interface alt 7 3 ep 01 2",
     DOVA_E_OPEN, "", 0xFF, 0xFF},
    {"no device at all", "bus bus", DOVA_E_OPEN, "", 0xFF, 0xFF},
    {"interrupt IN and bulk OUT", "bus device 1111 0001 config interface alt 7 1 ep 83 3 ep 02 2",
     DOVA_OK, "usb_open(001/001)", 0x02, 0xFF},
    {"the first qualifying device in bus and device order, whatever its class",
     "bus device 1111 0001 config interface alt 7 3 ep 01 2 "
     "bus device 2222 0002 config interface alt 3 0 "
     "device 3333 0003 config interface alt FF 2 ep 04 2 ep 85 2 "
     "device 4444 0004 config interface alt 7 2 ep 06 2",
     DOVA_OK, "usb_open(002/002)", 0x04, 0x85},
    {"a later alternate setting and a later bulk endpoint of one direction",
     "bus device 1111 0001 config interface alt 7 3 alt 7 2 ep 01 2 ep 03 2 ep 82 2", DOVA_OK,
     "usb_open(001/001)", 0x03, 0x82},
    {"a second configuration's second interface",
     "bus device 1111 0001 config interface alt 3 0 config interface alt 8 0 interface alt 7 1 "
     "ep 05 2",
     DOVA_OK, "usb_open(001/001)", 0x05, 0xFF},
};

TEST_F(LibusbPort, DiscoveryTakesThePrinterProtocolsOnly) {
    for (const Discovery& d : discoveries) {
        SCOPED_TRACE(d.what);
        played.reset();
        layout(d.layout);
        WLibusb port;
        EXPECT_EQ(port.claim(0), d.claim);
        EXPECT_EQ(port.outEndpoint(), d.out);
        EXPECT_EQ(port.inEndpoint(), d.in);
        const std::string calls = played.calls();
        if (*d.opened)
            EXPECT_NE(calls.find(std::string(d.opened) + "\n"), std::string::npos) << calls;
        else
            EXPECT_EQ(calls.find("usb_open"), std::string::npos) << calls;
    }
}

TEST_F(LibusbPort, RefusedOpenConfigurationOrInterfaceLeaveThePortClosed) {
    layout(printer);
    WLibusb port;
    played.script("usb_open", 0);
    EXPECT_EQ(port.claim(0), DOVA_E_OPEN);
    played.reset();
    played.script("usb_set_configuration", -1);
    EXPECT_EQ(port.claim(0), DOVA_E_OPEN);
    EXPECT_EQ(port.isOpen(), 0);
    EXPECT_NE(played.calls().find("usb_set_configuration(h, 1)\nusb_get_driver_np(h, 0)\n"
                                  "usb_release_interface(h, 0)\nusb_close(h)\n"),
              std::string::npos)
        << played.calls();
    // usblp bound to the printer: the way to it is the printer-class port.
    played.reset();
    played.script("usb_claim_interface", -16);
    played.script("usb_get_driver_np", 0);
    TraceCapture trace;
    EXPECT_EQ(port.claim(0), DOVA_E_OPEN);
    EXPECT_NE(trace.text().find("DOVA: interface 0 is held by the usblp driver: reach this "
                                "printer through the target USBPRN"),
              std::string::npos)
        << trace.text();
    EXPECT_EQ(port.isOpen(), 0);
}

TEST_F(LibusbPort, DirectTransfersFailAsTheLibraryDoes) {
    layout(printer);
    WLibusb port;
    ASSERT_EQ(port.claim(0), DOVA_OK);
    played.reset();
    // Nothing pending: the read times out after its 500 ms, a failure.
    char buffer[8];
    uint32_t n = 5;
    EXPECT_EQ(port.recv(buffer, sizeof buffer, &n, 0), DOVA_E_READ);
    EXPECT_EQ(n, 0u);
    played.script("usb_bulk_write", -110);
    n = 5;
    EXPECT_EQ(port.send("abc", 3, &n, 0, 0, 0), DOVA_E_WRITE);
    EXPECT_EQ(n, 0u);
    played.script("usb_bulk_write", 2);
    EXPECT_EQ(port.send("abc", 3, &n, 0, 0, 0), DOVA_OK);
    EXPECT_EQ(n, 2u);
    EXPECT_EQ(played.calls(), "usb_bulk_read(h, 129, 8, 500)\n"
                              "usb_bulk_write(h, 1, 3, 5000)\n"
                              "usb_bulk_write(h, 1, 3, 5000)\n");
}

// Wakes the test when the receive worker stored bytes.
std::mutex hookMutex;
std::condition_variable hookCondition;
uint32_t hookStored = 0;
void onStored(DovaBase*, uint32_t stored) {
    std::lock_guard lock(hookMutex);
    hookStored += stored;
    hookCondition.notify_all();
}

TEST_F(LibusbPort, WorkersWriteTheQueueAndFillTheReceiveQueue) {
    layout(printer);
    WLibusbA port;
    port.recvHook = onStored;
    hookStored = 0;
    EXPECT_EQ(port.getAsyncMode(), 1);
    // Nothing taken, then part: the block stays until all of it went.
    played.script("usb_bulk_write", 0);
    played.script("usb_bulk_write", 2);
    played.script("usb_bulk_write", 100);
    TraceCapture trace;
    ASSERT_EQ(port.claim(0), DOVA_OK);
    uint32_t n = 0;
    EXPECT_EQ(port.send("abcde", 5, &n, 0, 0, 0), DOVA_OK);
    EXPECT_EQ(n, 5u);
    played.readData("back");
    {
        std::unique_lock lock(hookMutex);
        ASSERT_TRUE(
            hookCondition.wait_for(lock, std::chrono::seconds(10), [] { return hookStored >= 4; }));
    }
    char buffer[8] = {};
    EXPECT_EQ(port.recv(buffer, sizeof buffer, &n, 0), DOVA_OK);
    EXPECT_EQ(std::string(buffer, n), "back");
    EXPECT_EQ(port.release(5000), DOVA_OK);
    EXPECT_EQ(played.taken(), "abcde");
    const std::string calls = played.calls();
    // The receive worker's reads come between them, from its own thread.
    std::string writes;
    for (size_t at = calls.find("usb_bulk_write"); at != std::string::npos;
         at = calls.find("usb_bulk_write", at + 1))
        writes += calls.substr(at, calls.find('\n', at) + 1 - at);
    EXPECT_EQ(writes, "usb_bulk_write(h, 1, 5, 5000)\nusb_bulk_write(h, 1, 5, 5000)\n"
                      "usb_bulk_write(h, 1, 3, 5000)\n");
    EXPECT_EQ(calls.find("usb_release_interface"), std::string::npos) << calls;
    EXPECT_EQ(calls.substr(calls.size() - 13), "usb_close(h)\n");
    const std::string text = trace.text();
    for (const char* line :
         {"DOVA: WLibusbA::claim()\n", "DOVA: WLibusbA::procSend() Start\n",
          "DOVA: WLibusbA::procSend() End\n", "DOVA: WLibusbA::procRecv() Start\n",
          "DOVA: WLibusbA::procRecv() End\n", "DOVA: WLibusbA::release(5000)\n"})
        EXPECT_NE(text.find(line), std::string::npos) << line << text;
}

TEST_F(LibusbPort, LibusbPrnTargetOpensAsTheKpUsbType) {
    layout(printer);
    ASSERT_EQ(DovaStartup(nullptr), DOVA_OK);
    for (int32_t mode = 0; mode <= 1; ++mode) {
        DOVA_HANDLE h = DovaOpenByName("LIBUSBPRN", mode);
        ASSERT_NE(h, DOVA_HANDLE(-1));
        EXPECT_EQ(DovaGetIFType(h), 0x23u);
        EXPECT_EQ(DovaClaim(h, 0), DOVA_OK);
        EXPECT_EQ(DovaRelease(h, 1000), DOVA_OK);
        EXPECT_EQ(DovaClose(h), DOVA_OK);
    }
    DovaCleanup();
}

} // namespace
