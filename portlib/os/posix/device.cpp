#include "os/os_device.h"

#include "os/posix/syscalls.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>

#include <cerrno>
#include <climits>
#include <cstdlib>

namespace os {
namespace {

template <class Call> auto repeatInterrupted(Call call) {
    decltype(call()) r;
    do {
        r = call();
    } while (r < 0 && errno == EINTR);
    return r;
}

} // namespace

DeviceNode& DeviceNode::operator=(DeviceNode&& other) noexcept {
    if (this != &other) {
        close();
        fd_ = other.fd_;
        terminal_ = other.terminal_;
        other.fd_ = -1;
    }
    return *this;
}

DeviceNode::~DeviceNode() {
    close();
}

DeviceNode DeviceNode::open(const char* path) {
    DeviceNode node;
    // Non-blocking: a serial line without carrier must not hold the open, and
    // the port's own transfers wait with bounds of their own.
    int fd = repeatInterrupted(
        [&] { return sys::open(path, O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC, 0); });
    if (fd < 0) return node;
    node.fd_ = fd;
    termios t{};
    node.terminal_ = sys::ioctl(fd, TCGETS, &t) == 0;
    // A lock another open holds says the device is in use; report it so, not
    // as "try again", which would read as a transfer that is not ready yet.
    if (repeatInterrupted([&] { return sys::flock(fd, LOCK_EX | LOCK_NB); }) != 0) {
        int error = errno == EWOULDBLOCK ? EBUSY : errno;
        node.terminal_ = false; // not ours to release the exclusive mode of
        node.close();
        errno = error;
        return node;
    }
    // Keeps out other opens of the line, also those that do not lock.
    if (node.terminal_ && sys::ioctl(fd, TIOCEXCL, nullptr) != 0) {
        int error = errno;
        node.close();
        errno = error;
        return node;
    }
    return node;
}

std::string DeviceNode::resolvePath(const char* path) {
    char resolved[PATH_MAX];
    int saved = errno;
    const char* r = ::realpath(path, resolved);
    errno = saved;
    return r ? std::string(r) : std::string(path);
}

long DeviceNode::readSome(void* buffer, size_t size) {
    if (fd_ < 0) {
        errno = EBADF;
        return -1;
    }
    return long(repeatInterrupted([&] { return sys::read(fd_, buffer, size); }));
}

long DeviceNode::writeSome(const void* data, size_t length) {
    if (fd_ < 0) {
        errno = EBADF;
        return -1;
    }
    return long(repeatInterrupted([&] { return sys::write(fd_, data, length); }));
}

int DeviceNode::control(unsigned long request, void* argument) {
    if (fd_ < 0) {
        errno = EBADF;
        return -1;
    }
    return repeatInterrupted([&] { return sys::ioctl(fd_, request, argument); });
}

bool DeviceNode::close() {
    if (fd_ < 0) return true;
    int fd = fd_;
    fd_ = -1;
    int saved = errno; // a close must not hide the error the caller is about to read
    // The exclusive mode stays with the line while its other side is open (a
    // pseudo-terminal's master): hand the line back as it was found.
    if (terminal_) sys::ioctl(fd, TIOCNXCL, nullptr);
    terminal_ = false;
    // EINTR on close still frees the descriptor on Linux: never retry.
    bool ok = sys::close(fd) == 0;
    if (ok) errno = saved;
    return ok;
}

} // namespace os
