#include "os/os_parallel_port.h"

#include <linux/lp.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <cerrno>

namespace os {
namespace {

// The USB printer-class driver's requests (its header is not exported).
constexpr unsigned long usblpDeviceId(unsigned len) {
    return _IOC(_IOC_READ, 'P', 1, len);
}
constexpr unsigned long kUsblpSoftReset = _IOC(_IOC_NONE, 'P', 7, 0);

// The parport lp driver's character major.
constexpr unsigned kLpMajor = 6;

} // namespace

bool parallelStatus(DeviceNode& node, uint8_t* status) {
    int st = 0;
    if (node.control(LPGETSTATUS, &st) != 0) return false;
    // The lines as the printer drives them: busy is inverted, error active low.
    uint8_t s = 0;
    if (!(st & LP_PBUSY)) s |= kParallelBusy;
    if (st & LP_POUTPA) s |= kParallelPaperEmpty;
    if (st & LP_PSELECD)
        s |= kParallelSelected;
    else
        s |= kParallelOffLine;
    *status = s;
    return true;
}

bool parallelFault(uint8_t status) {
    return (status & (kParallelPaperEmpty | kParallelOffLine)) != 0;
}

bool parallelInit(DeviceNode& node) {
    if (node.control(LPRESET, nullptr) == 0) return true;
    if (errno != ENOTTY && errno != EINVAL) return false;
    return node.control(kUsblpSoftReset, nullptr) == 0;
}

bool parallelDeviceId(DeviceNode& node, std::string* id) {
    unsigned char buffer[1024] = {};
    if (node.control(usblpDeviceId(sizeof buffer), buffer) < 0) return false;
    // Two length bytes, big-endian, that count themselves.
    size_t length = (size_t(buffer[0]) << 8) | buffer[1];
    if (length < 2) length = 2;
    if (length > sizeof buffer) length = sizeof buffer;
    id->assign(reinterpret_cast<const char*>(buffer) + 2, length - 2);
    return true;
}

bool parallelCanWait(DeviceNode& node) {
    struct stat st {};
    if (::fstat(int(node.handle()), &st) != 0) return true;
    return !(S_ISCHR(st.st_mode) && major(st.st_rdev) == kLpMajor);
}

} // namespace os
