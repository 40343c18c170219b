// A device tree laid out as Linux lays out usblp printers, under a folder of
// the test's own that DOVA_SYSFS_ROOT and DOVA_DEV_ROOT point at for the
// life of the object:
//
//   sys/devices/pci0000:00/0000:00:14.0/usbB/B-P/{idVendor,idProduct,busnum,devnum}
//   sys/devices/.../B-P/B-P:1.I/{bInterfaceNumber,bInterfaceClass}
//   sys/devices/.../B-P/B-P:1.I/usbmisc/lpN/{dev, device -> ../../../B-P:1.I}
//   sys/class/usbmisc/lpN -> ../../devices/.../usbmisc/lpN
//   dev/usb/lpN -> a pseudo-terminal in raw mode, the printer's node
//   dev/bus/usb/BBB/DDD: the device's usbfs node (a plain file; the control
//   transfers on it are played through the seam, played_usb.h)
//
// The test plays the printer on the pseudo-terminal's master side.
#pragma once

#include <cstdint>
#include <map>
#include <string>

class FakeUsbTree {
public:
    FakeUsbTree();
    ~FakeUsbTree();
    FakeUsbTree(const FakeUsbTree&) = delete;
    FakeUsbTree& operator=(const FakeUsbTree&) = delete;

    // A USB device at bus B, port P with its device number; returns P.
    int addDevice(uint16_t vendorId, uint16_t productId, int bus = 1, int devnum = 0);
    // A usblp interface lpN of device (bus, port) with interface number I.
    void addPrinter(int lp, int port, int interfaceNumber = 0, int bus = 1);
    // A device with one printer interface: the usual case.
    void plugPrinter(int lp, uint16_t vendorId, uint16_t productId) {
        addPrinter(lp, addDevice(vendorId, productId), 0);
    }
    // Another usbmisc entry (hiddevN) of device (bus, port): no printer.
    void addOther(const std::string& name, int port, int bus = 1);

    std::string sysRoot() const { return root_ + "/sys"; }
    std::string devRoot() const { return root_ + "/dev"; }
    std::string node(int lp) const { return devRoot() + "/usb/lp" + std::to_string(lp); }
    // The pseudo-terminal behind lpN.
    std::string ptyPath(int lp) const;
    std::string usbfsPath(int bus, int devnum) const;
    int devnumOf(int port, int bus = 1) const;

    // Reads what the port wrote to lpN: until n bytes came or nothing came
    // for timeoutMs.
    std::string read(int lp, size_t n, int timeoutMs = 5000);
    // The printer sends bytes back to the host.
    bool answer(int lp, const std::string& bytes);
    // The printer goes away: its master side closes, so the node fails
    // (EIO) as an unplugged usblp node fails (ENODEV).
    void unplug(int lp);

    const std::string& root() const { return root_; }

private:
    struct Pty {
        int master = -1;
        int slave = -1;
        std::string path;
    };
    std::string deviceDir(int bus, int port) const;

    std::string root_;
    std::map<int, Pty> ptys_;
    std::map<std::pair<int, int>, int> devnums_;
    std::map<int, int> nextPort_;
};
