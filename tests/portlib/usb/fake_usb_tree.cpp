#include "fake_usb_tree.h"

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <termios.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>

namespace fs = std::filesystem;

namespace {

void writeText(const std::string& path, const std::string& text) {
    std::ofstream(path) << text << "\n";
}

std::string hex4(uint16_t v) {
    char b[8];
    std::snprintf(b, sizeof b, "%04x", v);
    return b;
}

} // namespace

FakeUsbTree::FakeUsbTree() {
    char tmpl[] = "/tmp/dovausb.XXXXXX";
    root_ = ::mkdtemp(tmpl);
    fs::create_directories(sysRoot() + "/class/usbmisc");
    fs::create_directories(sysRoot() + "/devices/pci0000:00/0000:00:14.0");
    fs::create_directories(devRoot() + "/usb");
    ::setenv("DOVA_SYSFS_ROOT", sysRoot().c_str(), 1);
    ::setenv("DOVA_DEV_ROOT", devRoot().c_str(), 1);
}

FakeUsbTree::~FakeUsbTree() {
    ::unsetenv("DOVA_SYSFS_ROOT");
    ::unsetenv("DOVA_DEV_ROOT");
    for (auto& [lp, p] : ptys_) {
        if (p.slave >= 0) ::close(p.slave);
        if (p.master >= 0) ::close(p.master);
    }
    std::error_code ec;
    fs::remove_all(root_, ec);
}

std::string FakeUsbTree::deviceDir(int bus, int port) const {
    return sysRoot() + "/devices/pci0000:00/0000:00:14.0/usb" + std::to_string(bus) + "/" +
           std::to_string(bus) + "-" + std::to_string(port);
}

int FakeUsbTree::addDevice(uint16_t vendorId, uint16_t productId, int bus, int devnum) {
    const int port = ++nextPort_[bus];
    if (devnum == 0) devnum = port + 1; // the root hub is device 1
    const std::string dir = deviceDir(bus, port);
    fs::create_directories(dir);
    writeText(dir + "/idVendor", hex4(vendorId));
    writeText(dir + "/idProduct", hex4(productId));
    writeText(dir + "/busnum", std::to_string(bus));
    writeText(dir + "/devnum", std::to_string(devnum));
    devnums_[{bus, port}] = devnum;
    char usbfs[32];
    std::snprintf(usbfs, sizeof usbfs, "/bus/usb/%03d", bus);
    fs::create_directories(devRoot() + usbfs);
    writeText(usbfsPath(bus, devnum), "");
    return port;
}

int FakeUsbTree::devnumOf(int port, int bus) const {
    return devnums_.at({bus, port});
}

std::string FakeUsbTree::usbfsPath(int bus, int devnum) const {
    char tail[32];
    std::snprintf(tail, sizeof tail, "/bus/usb/%03d/%03d", bus, devnum);
    return devRoot() + tail;
}

void FakeUsbTree::addPrinter(int lp, int port, int interfaceNumber, int bus) {
    const std::string device = deviceDir(bus, port);
    const std::string ifName =
        std::to_string(bus) + "-" + std::to_string(port) + ":1." + std::to_string(interfaceNumber);
    const std::string interface = device + "/" + ifName;
    fs::create_directories(interface);
    char number[8];
    std::snprintf(number, sizeof number, "%02x", interfaceNumber);
    writeText(interface + "/bInterfaceNumber", number);
    writeText(interface + "/bInterfaceClass", "07");
    const std::string name = "lp" + std::to_string(lp);
    const std::string entry = interface + "/usbmisc/" + name;
    fs::create_directories(entry);
    fs::create_symlink("../../../" + ifName, entry + "/device");

    Pty p;
    if (::openpty(&p.master, &p.slave, nullptr, nullptr, nullptr) != 0)
        throw std::runtime_error("openpty");
    // A program the test starts must not hold the printer's side: closing
    // it is how the test pulls the printer out.
    ::fcntl(p.master, F_SETFD, FD_CLOEXEC);
    ::fcntl(p.slave, F_SETFD, FD_CLOEXEC);
    termios t{};
    ::tcgetattr(p.slave, &t);
    ::cfmakeraw(&t);
    ::tcsetattr(p.slave, TCSANOW, &t);
    p.path = ::ttyname(p.slave);
    struct stat st {};
    ::stat(p.path.c_str(), &st);
    writeText(entry + "/dev",
              std::to_string(major(st.st_rdev)) + ":" + std::to_string(minor(st.st_rdev)));
    fs::create_symlink(p.path, node(lp));
    ptys_[lp] = p;

    const std::string relative = fs::relative(entry, sysRoot() + "/class/usbmisc").string();
    fs::create_symlink(relative, sysRoot() + "/class/usbmisc/" + name);
}

void FakeUsbTree::addOther(const std::string& name, int port, int bus) {
    const std::string device = deviceDir(bus, port);
    const std::string ifName = std::to_string(bus) + "-" + std::to_string(port) + ":1.1";
    const std::string entry = device + "/" + ifName + "/usbmisc/" + name;
    fs::create_directories(entry);
    writeText(device + "/" + ifName + "/bInterfaceClass", "03");
    writeText(entry + "/dev", "180:96");
    fs::create_symlink("../../../" + ifName, entry + "/device");
    fs::create_symlink(fs::relative(entry, sysRoot() + "/class/usbmisc").string(),
                       sysRoot() + "/class/usbmisc/" + name);
}

std::string FakeUsbTree::ptyPath(int lp) const {
    return ptys_.at(lp).path;
}

std::string FakeUsbTree::read(int lp, size_t n, int timeoutMs) {
    const int master = ptys_.at(lp).master;
    std::string got;
    while (got.size() < n) {
        pollfd p{master, POLLIN, 0};
        if (::poll(&p, 1, timeoutMs) != 1) break;
        char buf[4096];
        ssize_t r = ::read(master, buf, sizeof buf);
        if (r <= 0) break;
        got.append(buf, size_t(r));
    }
    return got;
}

bool FakeUsbTree::answer(int lp, const std::string& bytes) {
    return ::write(ptys_.at(lp).master, bytes.data(), bytes.size()) == ssize_t(bytes.size());
}

void FakeUsbTree::unplug(int lp) {
    Pty& p = ptys_.at(lp);
    if (p.master >= 0) ::close(p.master);
    p.master = -1;
}
