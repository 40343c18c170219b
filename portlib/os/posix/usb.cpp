#include "os/os_usb.h"

#include "os/os_roots.h"
#include "os/posix/syscalls.h"

#include <dirent.h>
#include <fcntl.h>
#include <linux/lp.h>
#include <linux/usbdevice_fs.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <fstream>

namespace os {
namespace {

// The usblp driver's own requests (its header is not exported).
constexpr unsigned long usblpDeviceId(unsigned len) {
    return _IOC(_IOC_READ, 'P', 1, len);
}
constexpr unsigned long kUsblpSoftReset = _IOC(_IOC_NONE, 'P', 7, 0);

std::string firstLine(const std::string& path) {
    std::ifstream in(path);
    std::string line;
    std::getline(in, line);
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r' || line.back() == ' '))
        line.pop_back();
    return line;
}

bool readNumber(const std::string& path, int base, long* value) {
    const std::string text = firstLine(path);
    if (text.empty()) return false;
    char* end = nullptr;
    errno = 0;
    long v = std::strtol(text.c_str(), &end, base);
    if (errno != 0 || end == text.c_str() || *end != '\0') return false;
    *value = v;
    return true;
}

std::string realPath(const std::string& path) {
    char resolved[PATH_MAX];
    return ::realpath(path.c_str(), resolved) ? std::string(resolved) : std::string();
}

// "lp12" -> 12; -1 for names that are not lp followed by digits only.
long lpNumber(const char* name) {
    if (name[0] != 'l' || name[1] != 'p' || name[2] == '\0') return -1;
    long n = 0;
    for (const char* p = name + 2; *p; ++p) {
        if (*p < '0' || *p > '9' || n > 100000) return -1;
        n = n * 10 + (*p - '0');
    }
    return n;
}

// Reads what discovery needs of one class/usbmisc/lpN entry: the interface
// is its "device" link, the USB device that interface's parent folder.
bool readInterface(const std::string& entry, const std::string& name, UsbInterface* out) {
    const std::string interface = realPath(entry + "/device");
    if (interface.empty()) return false;
    const std::string device = interface.substr(0, interface.rfind('/'));
    long vendor = 0, product = 0, bus = 0, devnum = 0, number = 0;
    if (!readNumber(device + "/idVendor", 16, &vendor) ||
        !readNumber(device + "/idProduct", 16, &product) ||
        !readNumber(device + "/busnum", 10, &bus) || !readNumber(device + "/devnum", 10, &devnum))
        return false;
    if (!readNumber(interface + "/bInterfaceNumber", 16, &number)) number = 0;
    out->node = devRoot() + "/usb/" + name;
    out->name = name;
    out->vendorId = uint16_t(vendor);
    out->productId = uint16_t(product);
    out->bus = int(bus);
    out->device = int(devnum);
    out->interfaceNumber = int(number);
    out->usbDevice = device;
    return true;
}

template <class Call> auto repeatInterrupted(Call call) {
    decltype(call()) r;
    do {
        r = call();
    } while (r < 0 && errno == EINTR);
    return r;
}

} // namespace

std::vector<UsbInterface> usbPrinterInterfaces() {
    const std::string folder = sysfsRoot() + "/class/usbmisc";
    std::vector<std::pair<long, std::string>> names;
    if (DIR* d = ::opendir(folder.c_str())) {
        while (const dirent* e = ::readdir(d)) {
            const long n = lpNumber(e->d_name);
            if (n >= 0) names.emplace_back(n, e->d_name);
        }
        ::closedir(d);
    }
    std::sort(names.begin(), names.end());
    std::vector<UsbInterface> found;
    for (const auto& [n, name] : names) {
        UsbInterface i;
        if (readInterface(folder + "/" + name, name, &i)) found.push_back(std::move(i));
    }
    return found;
}

bool usbPrinterOfNode(DeviceNode& node, UsbInterface* found) {
    struct stat st {};
    if (!node.isOpen() || ::fstat(int(node.handle()), &st) != 0) return false;
    const std::string folder = sysfsRoot() + "/class/usbmisc";
    for (UsbInterface& i : usbPrinterInterfaces()) {
        unsigned ma = 0, mi = 0;
        const std::string dev = firstLine(folder + "/" + i.name + "/dev");
        if (std::sscanf(dev.c_str(), "%u:%u", &ma, &mi) != 2) continue;
        if (::major(st.st_rdev) == ma && ::minor(st.st_rdev) == mi) {
            *found = std::move(i);
            return true;
        }
    }
    errno = ENODEV;
    return false;
}

bool usbPrinterPortStatus(DeviceNode& node, uint8_t* status) {
    int st = 0;
    if (node.control(LPGETSTATUS, &st) != 0) return false;
    *status = uint8_t(st);
    return true;
}

long usbPrinterDeviceId(DeviceNode& node, void* buffer, uint32_t size) {
    // The request carries its buffer size in the code: 14 bits at most.
    size = std::min<uint32_t>(size, 0x3FFF);
    int r = node.control(usblpDeviceId(size), buffer);
    if (r < 0) return -1;
    // usblp answers with the length the printer gave (the two bytes
    // included), cut to the buffer.
    return long(std::min<uint32_t>(uint32_t(r), size));
}

bool usbPrinterSoftReset(DeviceNode& node) {
    return node.control(kUsblpSoftReset, nullptr) == 0;
}

UsbControlPipe& UsbControlPipe::operator=(UsbControlPipe&& other) noexcept {
    if (this != &other) {
        close();
        fd_ = other.fd_;
        other.fd_ = -1;
    }
    return *this;
}

UsbControlPipe::~UsbControlPipe() {
    close();
}

std::string UsbControlPipe::pathOf(int bus, int device) {
    char tail[32];
    std::snprintf(tail, sizeof tail, "/bus/usb/%03d/%03d", bus, device);
    return devRoot() + tail;
}

UsbControlPipe UsbControlPipe::open(int bus, int device) {
    UsbControlPipe pipe;
    const std::string path = pathOf(bus, device);
    pipe.fd_ = repeatInterrupted([&] { return sys::open(path.c_str(), O_RDWR | O_CLOEXEC, 0); });
    return pipe;
}

long UsbControlPipe::transfer(const UsbControl& c) {
    if (fd_ < 0) {
        errno = EBADF;
        return -1;
    }
    usbdevfs_ctrltransfer t{};
    t.bRequestType = c.requestType;
    t.bRequest = c.request;
    t.wValue = c.value;
    t.wIndex = c.index;
    t.wLength = c.length;
    t.timeout = c.timeoutMs;
    t.data = c.data;
    return repeatInterrupted([&] { return sys::ioctl(fd_, USBDEVFS_CONTROL, &t); });
}

void UsbControlPipe::close() {
    if (fd_ < 0) return;
    int saved = errno;
    sys::close(fd_);
    fd_ = -1;
    errno = saved;
}

} // namespace os
