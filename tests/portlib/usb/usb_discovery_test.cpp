// Discovery of usblp printers in a device tree of the test's own: the
// order, the vendor and product filter, the index, the path kept and the
// path set by the caller.
#include "backends/usb/usbprn.h"
#include "fake_usb_tree.h"
#include "pty_printer.h"

#include <gtest/gtest.h>

#include <dova/dova.h>

#include <string>

namespace {

class UsbDiscovery : public ::testing::Test {
protected:
    ScopedLibraryFiles files{""};
    FakeUsbTree tree;

    std::string found(WUsb& port, int32_t index) {
        char path[WUsb::kPathSize] = "x";
        return port.devicePath(path, usbPrinterClass(), index) ? std::string(path)
                                                               : "none:" + std::string(path);
    }
};

TEST_F(UsbDiscovery, PrintersCountInLpNumberOrderAndOtherEntriesAreNoPrinters) {
    // Made out of order, as a hub's ports may be enumerated.
    tree.plugPrinter(12, 0x1234, 0x0002);
    const int port = tree.addDevice(0x04b8, 0x0202);
    tree.addPrinter(3, port, 0);
    tree.addOther("hiddev0", port);
    tree.plugPrinter(0, 0x1234, 0x5678);

    WUsbprn port0;
    EXPECT_EQ(found(port0, 0), tree.node(0));
    EXPECT_EQ(found(port0, 1), tree.node(3));
    EXPECT_EQ(found(port0, 2), tree.node(12)) << "with vendor 0, number 2 is the third";
    EXPECT_EQ(found(port0, 3), "none:") << "the output is emptied";
    EXPECT_EQ(found(port0, -1), "none:");

    const auto all = os::usbPrinterInterfaces();
    ASSERT_EQ(all.size(), 3u);
    EXPECT_EQ(all[1].name, "lp3");
    EXPECT_EQ(all[1].vendorId, 0x04b8);
    EXPECT_EQ(all[1].productId, 0x0202);
    EXPECT_EQ(all[1].bus, 1);
    EXPECT_EQ(all[1].device, tree.devnumOf(port));
    EXPECT_NE(files.trace().find("DOVA: WUsb::devicePath(2)\n"), std::string::npos);
}

TEST_F(UsbDiscovery, VendorAndProductFilter) {
    tree.plugPrinter(0, 0x04b8, 0x0202);
    tree.plugPrinter(1, 0x1234, 0x5678);
    tree.plugPrinter(2, 0x1234, 0x0001);
    tree.plugPrinter(3, 0x1235, 0x5678);

    WUsbprn port;
    port.setVendorId(0x1234);
    EXPECT_EQ(found(port, 0), tree.node(1)) << "product 0 matches every product of the vendor";
    EXPECT_EQ(found(port, 1), tree.node(2));
    EXPECT_EQ(found(port, 2), "none:");
    port.setProductId(0x0001);
    EXPECT_EQ(found(port, 0), tree.node(2));
    EXPECT_EQ(found(port, 1), "none:");
    port.setVendorId(0);
    EXPECT_EQ(found(port, 3), tree.node(3)) << "vendor 0 is no filter, whatever the product";
}

TEST_F(UsbDiscovery, ANumberBeyondTheMatchesFailsTheClaimAndLeavesThePathEmpty) {
    tree.plugPrinter(0, 0x04b8, 0x0202);
    WUsbprn port;
    port.setNo(1);
    EXPECT_EQ(port.claim(0), DOVA_E_ADDRESS);
    char name[WUsb::kPathSize] = "x";
    EXPECT_EQ(port.getName(name), 0);
    EXPECT_STREQ(name, "");
    EXPECT_EQ(port.isOpen(), 0);
    EXPECT_EQ(port.getHandle(), -1);

    WUsbprn fresh;
    EXPECT_EQ(fresh.claim(0), DOVA_E_ADDRESS) << "the initial number -1 matches no device";
}

TEST_F(UsbDiscovery, TheFoundPathIsKeptAndASetPathOpensAsItStands) {
    tree.plugPrinter(0, 0x04b8, 0x0202);
    tree.plugPrinter(1, 0x04b8, 0x0203);
    WUsbprn port;
    port.setNo(1);
    ASSERT_EQ(port.claim(0), 0);
    char name[WUsb::kPathSize] = {};
    port.getName(name);
    EXPECT_EQ(std::string(name), tree.node(1));
    EXPECT_EQ(port.release(0), 0);
    port.setNo(0);
    ASSERT_EQ(port.claim(0), 0) << "a later number does not search again";
    port.getName(name);
    EXPECT_EQ(std::string(name), tree.node(1));
    port.release(0);
    port.setName("");
    ASSERT_EQ(port.claim(0), 0) << "an emptied path is searched for again";
    port.getName(name);
    EXPECT_EQ(std::string(name), tree.node(0));
    port.release(0);

    // A path of the caller's own, not under the device root: no discovery.
    WUsbprn named;
    named.setName(tree.ptyPath(1).c_str());
    const size_t before = files.trace().size();
    ASSERT_EQ(named.claim(0), 0);
    const std::string trace = files.trace().substr(before);
    EXPECT_EQ(trace.find("devicePath"), std::string::npos) << trace;
    EXPECT_NE(trace.find("DOVA:  '" + tree.ptyPath(1) + "'="), std::string::npos) << trace;
    uint32_t written = 0;
    EXPECT_EQ(named.send("A", 1, &written, 0, 0, 0), 0);
    EXPECT_EQ(tree.read(1, 1), "A");
    named.release(0);

    WUsbprn missing;
    missing.setName((tree.devRoot() + "/usb/lp9").c_str());
    EXPECT_EQ(missing.claim(0), DOVA_E_OPEN);
}

TEST_F(UsbDiscovery, ReleaseOfAClosedPortSaysNothing) {
    WUsbprn port;
    const std::string before = files.trace();
    EXPECT_EQ(port.release(5000), 0);
    EXPECT_EQ(files.trace(), before);
}

TEST_F(UsbDiscovery, TheRootsAreReadAtEachClaim) {
    WUsbprn port;
    port.setNo(0);
    EXPECT_EQ(port.claim(0), DOVA_E_ADDRESS) << "an empty tree has no printer";
    tree.plugPrinter(4, 0x04b8, 0x0202);
    EXPECT_EQ(port.claim(0), 0) << "plugged in meanwhile";
    port.release(0);
}

} // namespace
