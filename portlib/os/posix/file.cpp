#include "os/os_file.h"

#include "os/posix/syscalls.h"

#include <fcntl.h>

#include <cerrno>

namespace os {

File& File::operator=(File&& other) noexcept {
    if (this != &other) {
        close();
        fd_ = other.fd_;
        other.fd_ = -1;
    }
    return *this;
}

File::~File() {
    close();
}

File File::createAlways(const char* path) {
    int fd;
    do {
        fd = sys::open(path, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    } while (fd < 0 && errno == EINTR);
    return File(fd);
}

long File::write(const void* data, size_t length) {
    if (fd_ < 0) return -1;
    ssize_t n;
    do {
        n = sys::write(fd_, data, length);
    } while (n < 0 && errno == EINTR);
    return long(n);
}

bool File::close() {
    if (fd_ < 0) return true;
    int fd = fd_;
    fd_ = -1;
    // EINTR on close still frees the descriptor on Linux: never retry.
    return sys::close(fd) == 0;
}

} // namespace os
