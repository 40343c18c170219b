#include "os/os_event.h"

#include "os/posix/syscalls.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <cerrno>

namespace os {

Event& Event::operator=(Event&& other) noexcept {
    if (this != &other) {
        close();
        fd_ = other.fd_;
        other.fd_ = -1;
    }
    return *this;
}

Event::~Event() {
    close();
}

Event Event::create() {
    // Non-blocking, so that reset() can drain without ever waiting.
    return Event(sys::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK));
}

void Event::set() {
    if (fd_ < 0) return;
    uint64_t one = 1;
    while (::write(fd_, &one, sizeof one) < 0 && errno == EINTR) {
    }
}

void Event::reset() {
    if (fd_ < 0) return;
    uint64_t value;
    while (::read(fd_, &value, sizeof value) < 0 && errno == EINTR) {
    }
}

bool Event::isSet() const {
    if (fd_ < 0) return false;
    pollfd p{fd_, POLLIN, 0};
    return ::poll(&p, 1, 0) == 1 && (p.revents & POLLIN);
}

void Event::close() {
    if (fd_ < 0) return;
    ::close(fd_);
    fd_ = -1;
}

} // namespace os
