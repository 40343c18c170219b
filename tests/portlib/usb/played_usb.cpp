#include "played_usb.h"

#include "os/posix/syscalls.h"

#include <linux/lp.h>
#include <linux/usbdevice_fs.h>
#include <sys/ioctl.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace {
PlayedUsb* current = nullptr;
int (*savedIoctl)(int, unsigned long, void*) = nullptr;
int (*savedOpen)(const char*, int, mode_t) = nullptr;
int (*savedSleep)(const timespec*, timespec*) = nullptr;

int playedSleep(const timespec* request, timespec* remaining) {
    ++current->sleeps;
    if (current->instantSleeps) return 0;
    return savedSleep(request, remaining);
}
} // namespace

int playedUsbOpen(const char* path, int flags, mode_t mode) {
    {
        std::lock_guard<std::mutex> g(current->lock_);
        current->opened_.push_back(path);
    }
    return savedOpen(path, flags, mode);
}

int playedUsbIoctl(int fd, unsigned long request, void* argument) {
    PlayedUsb& p = *current;
    if (request == LPGETSTATUS) {
        if (p.classFails) {
            errno = EIO;
            return -1;
        }
        *static_cast<int*>(argument) = p.portStatus.load();
        return 0;
    }
    if (_IOC_TYPE(request) == 'P' && _IOC_NR(request) == 1) { // LPIOC_GET_DEVICE_ID(len)
        if (p.classFails) {
            errno = EIO;
            return -1;
        }
        const size_t n = std::min<size_t>(p.deviceId.size(), _IOC_SIZE(request));
        std::memcpy(argument, p.deviceId.data(), n);
        return int(p.deviceId.size());
    }
    if (_IOC_TYPE(request) == 'P' && _IOC_NR(request) == 7) { // LPIOC_SOFT_RESET
        if (p.classFails) {
            errno = EIO;
            return -1;
        }
        ++p.softResets;
        return 0;
    }
    if (request == USBDEVFS_CONTROL) {
        auto* t = static_cast<usbdevfs_ctrltransfer*>(argument);
        std::lock_guard<std::mutex> g(p.lock_);
        p.controls_.push_back({t->bRequestType, t->bRequest, t->wValue, t->wIndex, t->wLength});
        if (p.controlFails) {
            errno = EPIPE;
            return -1;
        }
        if (!(t->bRequestType & 0x80)) return 0;
        uint8_t answer[4] = {};
        uint16_t word = 0;
        if (t->bRequest == 0x01) {
            word = p.deviceStatus;
            ++p.statusRequests_;
            if (p.statusChangesAfter >= 0 && p.statusRequests_ >= p.statusChangesAfter)
                p.deviceStatus = p.statusAfter.load();
        } else {
            word = p.driverWord;
        }
        answer[0] = uint8_t(word & 0xFF);
        answer[1] = uint8_t(word >> 8);
        const size_t n = std::min<size_t>(sizeof answer, t->wLength);
        std::memcpy(t->data, answer, n);
        return int(n);
    }
    return savedIoctl(fd, request, argument);
}

PlayedUsb::PlayedUsb() {
    current = this;
    savedIoctl = os::sys::ioctl;
    savedOpen = os::sys::open;
    savedSleep = os::sys::nanosleep;
    os::sys::ioctl = playedUsbIoctl;
    os::sys::open = playedUsbOpen;
    os::sys::nanosleep = playedSleep;
}

PlayedUsb::~PlayedUsb() {
    os::sys::ioctl = savedIoctl;
    os::sys::open = savedOpen;
    os::sys::nanosleep = savedSleep;
    current = nullptr;
}

std::vector<PlayedControl> PlayedUsb::controls() {
    std::lock_guard<std::mutex> g(lock_);
    return controls_;
}

int PlayedUsb::statusRequests() {
    std::lock_guard<std::mutex> g(lock_);
    return statusRequests_;
}

std::vector<std::string> PlayedUsb::opened() {
    std::lock_guard<std::mutex> g(lock_);
    return opened_;
}
