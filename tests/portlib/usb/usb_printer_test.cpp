// USBPRN ports on printers of a device tree of the test's own: printing in
// both modes, the printer-class requests, and a printer that goes away.
#include "backends/usb/usbprn.h"
#include "backends/usb/usbprn_threads.h"
#include "fake_usb_tree.h"
#include "os/posix/syscalls.h"
#include "played_usb.h"
#include "pty_printer.h"

#include <gtest/gtest.h>

#include <dova/dova.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <string>
#include <thread>

namespace {

// Every write and read of one descriptor fails as on an unplugged usblp
// node (ENODEV), through the seam, for the life of the object.
class GoneNode {
public:
    // Passes every call on until fail() names the descriptor: installed
    // before the port's workers start, so none of them sees the swap.
    GoneNode() {
        fd_ = -1;
        calls_ = 0;
        savedWrite_ = os::sys::write;
        savedRead_ = os::sys::read;
        os::sys::write = [](int f, const void* d, size_t n) -> ssize_t {
            if (f != fd_) return savedWrite_(f, d, n);
            ++calls_;
            errno = ENODEV;
            return -1;
        };
        os::sys::read = [](int f, void* d, size_t n) -> ssize_t {
            if (f != fd_) return savedRead_(f, d, n);
            ++calls_;
            errno = ENODEV;
            return -1;
        };
    }
    ~GoneNode() {
        os::sys::write = savedWrite_;
        os::sys::read = savedRead_;
    }
    void fail(int fd) { fd_ = fd; }
    int calls() const { return calls_; }

private:
    static inline std::atomic<int> fd_{-1};
    static inline std::atomic<int> calls_{0};
    static inline ssize_t (*savedWrite_)(int, const void*, size_t) = nullptr;
    static inline ssize_t (*savedRead_)(int, void*, size_t) = nullptr;
};

class UsbPrinter : public ::testing::Test {
protected:
    ScopedLibraryFiles files{""};
    FakeUsbTree tree;

    void SetUp() override {
        tree.plugPrinter(3, 0x04b8, 0x0202);
        tree.plugPrinter(12, 0x0519, 0x0001);
    }
};

TEST_F(UsbPrinter, TargetsPrintOnTheirPrinterInBothModes) {
    ASSERT_EQ(DovaStartup(nullptr), 0);
    DOVA_HANDLE h = DovaOpenByName("USBPRN1", DOVA_MODE_THREADS);
    ASSERT_NE(h, DOVA_INVALID_HANDLE);
    EXPECT_EQ(DovaGetIFType(h), DOVA_IF_USBPRN);
    ASSERT_EQ(DovaClaim(h, 0), 0);
    uint32_t written = 0;
    EXPECT_EQ(DovaWrite(h, "\x1b@ticket\n", 9, &written, 0, 0, 0), 0);
    EXPECT_EQ(written, 9u);
    EXPECT_EQ(tree.read(12, 9), "\x1b@ticket\n") << "raw: no CR added";
    EXPECT_EQ(DovaRelease(h, 5000), 0);
    EXPECT_EQ(DovaClose(h), 0);

    h = DovaOpenByName("USBPRN", DOVA_MODE_DIRECT);
    ASSERT_EQ(DovaClaim(h, 0), 0);
    EXPECT_EQ(DovaWrite(h, "first", 5, &written, 0, 0, 0), 0);
    EXPECT_EQ(tree.read(3, 5), "first") << "no digits: the first printer";
    EXPECT_EQ(DovaRelease(h, 0), 0);
    DovaClose(h);
    EXPECT_EQ(DovaCleanup(), 0);

    const std::string trace = files.trace();
    for (const char* line : {"DOVA: WUsbprnA::claim()\nDOVA: WUsb::devicePath(1)\n",
                             "DOVA: WUsbprnA::procSend() Start\n",
                             "DOVA: WUsbprnA::procRecv() End\n", "DOVA: WUsbprnA::release(5000)\n",
                             "DOVA: WUsbprn::claim()\n", "DOVA: WUsbprn::release(0)\n"})
        EXPECT_NE(trace.find(line), std::string::npos) << line << trace;
    EXPECT_NE(trace.find("DOVA:  '" + tree.node(12) + "'="), std::string::npos);
}

TEST_F(UsbPrinter, WhatThePrinterSendsBackIsReceived) {
    WUsbprnA port;
    port.setNo(0);
    ASSERT_EQ(port.claim(0), 0);
    EXPECT_EQ(port.getSendBufferSize(), 0x40000u) << "USBPRN serves the sizes of its engine";
    ASSERT_TRUE(tree.answer(3, "\x10\x04\x12"));
    std::string got;
    for (int i = 0; i < 200 && got.size() < 3; ++i) {
        char b[8];
        uint32_t n = 0;
        ASSERT_EQ(port.recv(b, sizeof b, &n, 0), 0);
        got.append(b, n);
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    EXPECT_EQ(got, "\x10\x04\x12");
    EXPECT_EQ(port.release(0), 0);
}

TEST_F(UsbPrinter, PrinterClassRequests) {
    PlayedUsb played;
    played.deviceId = std::string("\x00\x1c", 2) + "MFG:EPSON;CMD:ESCPOS;MDL:T";
    WUsbprn port;
    port.setNo(0);
    ASSERT_EQ(port.claim(0), 0);
    uint8_t status = 0;
    played.portStatus = 0x38;
    EXPECT_EQ(port.getLptStatus(&status), 0);
    EXPECT_EQ(status, 0x38);
    char id[64] = {};
    EXPECT_EQ(port.get1284Id(id, sizeof id), 0);
    EXPECT_EQ(std::string(id + 2), "MFG:EPSON;CMD:ESCPOS;MDL:T") << "after the two length bytes";
    EXPECT_EQ(id[1], 0x1c);
    char small[8] = {};
    EXPECT_EQ(port.get1284Id(small, sizeof small), 0);
    EXPECT_EQ(std::string(small + 2), "MFG:E") << "cut to the buffer, NUL included";
    EXPECT_EQ(port.softReset(), 0);
    EXPECT_EQ(played.softResets, 1);
    EXPECT_EQ(port.vendorSetCommand(), DOVA_E_USBREQUEST);
    EXPECT_EQ(port.vendorGetCommand(), DOVA_E_USBREQUEST);
    EXPECT_TRUE(played.controls().empty()) << "no request code, nothing sent";
    played.classFails = true;
    EXPECT_EQ(port.getLptStatus(&status), DOVA_E_USBREQUEST);
    EXPECT_EQ(port.get1284Id(id, sizeof id), DOVA_E_USBREQUEST);
    EXPECT_EQ(port.softReset(), DOVA_E_USBREQUEST);
    EXPECT_EQ(port.isReady(), 1);
    EXPECT_EQ(port.reset(), -1) << "USBPRN has no reset of its own";
    EXPECT_EQ(port.force(1), -1);
    port.release(0);
    EXPECT_EQ(port.getLptStatus(&status), DOVA_E_USBREQUEST) << "closed";
}

TEST_F(UsbPrinter, ClosedWorkerPortRefusesData) {
    WUsbprnA port;
    uint32_t n = 0;
    EXPECT_EQ(port.send("x", 1, &n, 0, 0, 0), DOVA_E_WRITE);
    char b[4];
    EXPECT_EQ(port.recv(b, 4, &n, 0), DOVA_E_READ);
    EXPECT_EQ(port.getSendCount(&n), DOVA_E_QUEUE);
    EXPECT_EQ(port.purgeSend(), DOVA_E_PURGE);
}

TEST_F(UsbPrinter, AnUnpluggedPrinterEndsTheJobAtOnce) {
    WUsbprnA port;
    port.setNo(0);
    ASSERT_EQ(port.claim(0), 0);
    // More than the line holds while nobody reads: the worker waits on it.
    std::string job(200000, 'x');
    uint32_t accepted = 0;
    ASSERT_EQ(port.send(job.data(), uint32_t(job.size()), &accepted, 0, 0, 0), 0);
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    tree.unplug(3);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(port.release(30000), 1) << "what was queued did not leave";
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
    EXPECT_NE(files.trace().find("DOVA: WriteFile dwErr="), std::string::npos);
}

TEST_F(UsbPrinter, ANodeReportingNoDeviceStopsTheWorkersWithoutSpinning) {
    GoneNode gone;
    WUsbprnA port;
    port.setNo(1);
    ASSERT_EQ(port.claim(0), 0);
    uint32_t accepted = 0;
    ASSERT_EQ(port.send("ab", 2, &accepted, 0, 0, 0), 0);
    EXPECT_EQ(tree.read(12, 2), "ab");
    {
        // usblp's answer once the printer is gone, to writes and reads alike.
        gone.fail(int(port.getHandle()));
        ASSERT_EQ(port.send("cd", 2, &accepted, 0, 0, 0), 0);
        ASSERT_TRUE(tree.answer(12, "?")) << "wakes the reader, which finds the device gone";
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        const int calls = gone.calls();
        EXPECT_GE(calls, 1);
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        EXPECT_EQ(gone.calls(), calls) << "nothing asks the gone device again";
        const auto start = std::chrono::steady_clock::now();
        EXPECT_EQ(port.release(30000), 1);
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
    }
}

} // namespace
