// The KP ports: KPPRN's and KPUSB's requests as vendor control transfers
// through usbfs, force and its 1000 rounds, KPUSB's choice of device and
// interface and its status worker.
#include "backends/usb/kpprn.h"
#include "backends/usb/kpprn_threads.h"
#include "backends/usb/kpusb.h"
#include "backends/usb/kpusb_threads.h"
#include "fake_usb_tree.h"
#include "played_usb.h"
#include "pty_printer.h"

#include <gtest/gtest.h>

#include <dova/dova.h>

#include <algorithm>
#include <chrono>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace {

class KpUsb : public ::testing::Test {
protected:
    ScopedLibraryFiles files{""};
    FakeUsbTree tree;
    int kpPort = 0;    // a KP printer with a customer display: interfaces 0 and 1
    int plainPort = 0; // a printer alone

    void SetUp() override {
        plainPort = tree.addDevice(0x04b8, 0x0202);
        tree.addPrinter(0, plainPort, 0);
        kpPort = tree.addDevice(0x0dd4, 0x0195);
        // The display's interface got the lower lp number: the interface
        // number, not the lp number, says which is which.
        tree.addPrinter(1, kpPort, 1);
        tree.addPrinter(2, kpPort, 0);
    }

    std::string pathOf(WUsb& port) {
        char name[WUsb::kPathSize] = {};
        port.getName(name);
        return name;
    }
};

TEST_F(KpUsb, KpprnRequestsAreVendorTransfersToThePrinterInterface) {
    PlayedUsb played;
    WKpprn port;
    port.setNo(2);
    ASSERT_EQ(port.claim(0), 0);
    EXPECT_EQ(pathOf(port), tree.node(2));
    played.driverWord = 0xBEEF;
    played.deviceStatus = 0x0102;
    uint16_t word = 0, status = 0;
    EXPECT_EQ(port.getDriverWord(&word), 0);
    EXPECT_EQ(word, 0xBEEF);
    EXPECT_EQ(port.getDeviceStatus(&status), 0);
    EXPECT_EQ(status, 0x0102);
    EXPECT_EQ(port.setDeviceControl(0x1234), 0);
    EXPECT_EQ(port.reset(), 0);
    const auto c = played.controls();
    ASSERT_EQ(c.size(), 4u);
    auto same = [](const PlayedControl& a, const PlayedControl& b) {
        return a.requestType == b.requestType && a.request == b.request && a.value == b.value &&
               a.index == b.index && a.length == b.length;
    };
    EXPECT_TRUE(same(c[0], {0xC1, 0x00, 0, 0, 2}));
    EXPECT_TRUE(same(c[1], {0xC1, 0x01, 0, 0, 4}));
    EXPECT_TRUE(same(c[2], {0x41, 0x02, 0x1234, 0, 0}));
    EXPECT_TRUE(same(c[3], {0x41, 0x7F, 0, 0, 0}));
    const auto opened = played.opened();
    EXPECT_EQ(std::count(opened.begin(), opened.end(), tree.usbfsPath(1, tree.devnumOf(kpPort))), 1)
        << "the device's usbfs node, opened once for the port";

    played.controlFails = true;
    EXPECT_EQ(port.getDriverWord(&word), DOVA_E_USBREQUEST);
    EXPECT_EQ(port.getDeviceStatus(&status), DOVA_E_USBREQUEST);
    EXPECT_EQ(port.setDeviceControl(1), DOVA_E_USBREQUEST);
    EXPECT_EQ(port.reset(), DOVA_E_USBREQUEST);
    EXPECT_EQ(port.force(1), DOVA_E_FORCE);
    EXPECT_EQ(port.force(0), DOVA_E_FORCE);
    port.release(0);

    // The interface number is the request's index.
    WKpprn display;
    display.setNo(1);
    ASSERT_EQ(display.claim(0), 0);
    played.controlFails = false;
    EXPECT_EQ(display.setDeviceControl(7), 0);
    EXPECT_EQ(played.controls().back().index, 1);
}

TEST_F(KpUsb, ForceOffWaitsForTheBusyBitForAThousandRounds) {
    PlayedUsb played;
    played.instantSleeps = true;
    WKpprn port;
    port.setNo(2);
    ASSERT_EQ(port.claim(0), 0);
    EXPECT_EQ(port.force(1), 0);
    EXPECT_EQ(played.controls().back().request, 0x02);
    EXPECT_EQ(played.controls().back().value, 2);

    played.deviceStatus = 0x0002;
    EXPECT_EQ(port.force(0), DOVA_E_FORCE) << "the busy bit stayed set";
    EXPECT_EQ(played.statusRequests(), 1000);
    EXPECT_GE(played.sleeps, 999);
    const auto c = played.controls();
    EXPECT_EQ(
        std::count_if(c.begin(), c.end(),
                      [](const PlayedControl& x) { return x.request == 0x02 && x.value == 0; }),
        1000)
        << "each round sets control 0 again";

    played.deviceStatus = 0x0003;
    played.statusChangesAfter = 1002;
    played.statusAfter = 0x0001;
    EXPECT_EQ(port.force(0), 0) << "clears on the third round";
    EXPECT_EQ(played.statusRequests(), 1003);
    port.release(0);

    WKpusb usb;
    usb.setNo(0);
    usb.setCh(0);
    ASSERT_EQ(usb.claim(0), 0);
    played.deviceStatus = 0x0002;
    played.statusChangesAfter = -1;
    EXPECT_EQ(usb.force(0), DOVA_E_FORCE);
    EXPECT_EQ(played.statusRequests(), 2003);
    played.controlFails = true;
    EXPECT_EQ(usb.force(1), DOVA_E_SYSTEM) << "KPUSB gives the control's own result";
    usb.release(0);
}

TEST_F(KpUsb, KpusbChannelsPickTheDeviceAndItsInterface) {
    struct {
        const char* target;
        int lp; // -1: none
    } const cases[] = {
        {"KPUSB0", 0}, {"KPUSB1", 2}, {"USBKP1", 2},  {"KPQS11", 2},
        {"CDUSB0", 1}, {"CDQS1", 1},  {"USBCD1", -1}, {"KPUSB2", -1},
    };
    ASSERT_EQ(DovaStartup(nullptr), 0);
    for (const auto& c : cases) {
        DOVA_HANDLE h = DovaOpenByName(c.target, DOVA_MODE_DIRECT);
        ASSERT_NE(h, DOVA_INVALID_HANDLE) << c.target;
        EXPECT_EQ(DovaGetIFType(h), DOVA_IF_KPUSB);
        const int32_t r = DovaClaim(h, 0);
        if (c.lp < 0) {
            EXPECT_EQ(r, DOVA_E_ADDRESS) << c.target;
        } else {
            EXPECT_EQ(r, 0) << c.target;
            uint32_t written = 0;
            EXPECT_EQ(DovaWrite(h, "K", 1, &written, 0, 0, 0), 0);
            EXPECT_EQ(tree.read(c.lp, 1), "K") << c.target;
        }
        DovaRelease(h, 0);
        DovaClose(h);
    }
    EXPECT_EQ(DovaCleanup(), 0);
    const std::string trace = files.trace();
    EXPECT_NE(trace.find("DOVA: WKpusb: no USB device 1 with a customer display"),
              std::string::npos)
        << trace;
    EXPECT_NE(trace.find("DOVA: WUsb::release(0)\n"), std::string::npos);

    WKpusb named;
    named.setCh(1);
    named.setName(tree.node(0).c_str());
    ASSERT_EQ(named.claim(0), 0) << "a set path opens as given";
    EXPECT_EQ(pathOf(named), tree.node(0)) << "no suffix";
    uint32_t info = 0;
    EXPECT_EQ(named.getDriverInfo(&info), DOVA_E_SYSTEM);
    named.release(0);
}

TEST_F(KpUsb, KpusbDriverControlsFailWithTheirCodes) {
    WKpusb port;
    port.setNo(1);
    port.setCh(0);
    ASSERT_EQ(port.claim(0), 0);
    // No usbfs node for the device: every request fails, and says why once.
    std::remove(tree.usbfsPath(1, tree.devnumOf(kpPort)).c_str());
    uint16_t v = 0;
    EXPECT_EQ(port.getDriverWord(&v), DOVA_E_SYSTEM);
    EXPECT_EQ(port.getDeviceStatus(&v), DOVA_E_SYSTEM);
    EXPECT_EQ(port.setDeviceControl(0), DOVA_E_SYSTEM);
    EXPECT_EQ(port.reset(), DOVA_E_RESET);
    EXPECT_EQ(port.getLptStatus(nullptr), -1) << "no printer-class requests on KPUSB";
    port.release(0);
    const std::string trace = files.trace();
    const std::string line =
        "DOVA: '" + tree.usbfsPath(1, tree.devnumOf(kpPort)) + "' did not open";
    EXPECT_NE(trace.find(line), std::string::npos) << trace;
    EXPECT_EQ(trace.find(line), trace.rfind(line)) << "once per open";
}

std::mutex eventsLock;
std::vector<uint32_t> events;
void recordLineEvent(DovaBase*, uint32_t mask, uint32_t zero) {
    std::lock_guard<std::mutex> g(eventsLock);
    events.push_back(mask | zero);
}

TEST_F(KpUsb, KpusbStatusWorkerRaisesLineEventsOnChange) {
    PlayedUsb played;
    {
        std::lock_guard<std::mutex> g(eventsLock);
        events.clear();
    }
    WKpusbA port;
    port.lineHook = recordLineEvent;
    port.setNo(1);
    port.setCh(0);
    played.deviceStatus = 0x0001;
    ASSERT_EQ(port.claim(0), 0);
    auto waitFor = [&](size_t n) {
        for (int i = 0; i < 300; ++i) {
            {
                std::lock_guard<std::mutex> g(eventsLock);
                if (events.size() >= n) return;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    };
    waitFor(1);
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    played.deviceStatus = 0x0005; // bit 0 still set, other bits changed
    waitFor(2);
    played.deviceStatus = 0x0004;
    waitFor(3);
    uint32_t written = 0;
    EXPECT_EQ(port.send("data", 4, &written, 0, 0, 0), 0);
    EXPECT_EQ(tree.read(2, 4), "data");
    EXPECT_EQ(port.release(5000), 0);
    {
        std::lock_guard<std::mutex> g(eventsLock);
        EXPECT_EQ(events, (std::vector<uint32_t>{0x20000, 0x20000, 0x10000}));
    }
    const int requests = played.statusRequests();
    EXPECT_GE(requests, 5) << "every 10 ms";
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_EQ(played.statusRequests(), requests) << "the worker ended with the port";
    const std::string trace = files.trace();
    for (const char* line : {"DOVA: WKpusbA::claim()\n",
                             "DOVA: WKpusbA: driver time-outs 5,50,5,2000,0,0,0,0 not sent",
                             "DOVA: WKpusbA::procWait() Start\n", "DOVA: WKpusbA::procWait() End\n",
                             "DOVA: WKpusbA::procRecv() End\n", "DOVA: WKpusbA::release(5000)\n"})
        EXPECT_NE(trace.find(line), std::string::npos) << line;
}

TEST_F(KpUsb, KpusbAReadsThePortStatusAfterAFailedWrite) {
    PlayedUsb played;
    played.portStatus = 0x28;
    WKpusbA port;
    port.setNo(0);
    port.setCh(0);
    ASSERT_EQ(port.claim(0), 0);
    tree.unplug(0);
    uint32_t written = 0;
    EXPECT_EQ(port.send("x", 1, &written, 0, 0, 0), 0);
    EXPECT_EQ(port.release(5000), 1);
    EXPECT_NE(files.trace().find("DOVA: WKpusbA: write failed (5), port status 28\n"),
              std::string::npos)
        << files.trace();
}

TEST_F(KpUsb, KpprnWorkerPortPrints) {
    WKpprnA port;
    port.setNo(0);
    ASSERT_EQ(port.claim(0), 0);
    uint32_t written = 0;
    EXPECT_EQ(port.send("kp", 2, &written, 0, 0, 0), 0);
    EXPECT_EQ(tree.read(0, 2), "kp");
    EXPECT_EQ(static_cast<DovaBase&>(port).getSendBufferSize(), 0u)
        << "only USBPRN serves the sizes";
    EXPECT_EQ(port.release(5000), 0);
    EXPECT_NE(files.trace().find("DOVA: WKpprnA::procSend() Start\n"), std::string::npos);
}

} // namespace
