#include "os/os_error.h"

#include <cerrno>

namespace os {

int lastError() {
    return errno;
}

int timedOutError() {
    return ETIMEDOUT;
}

int noAddressError() {
    return EADDRNOTAVAIL;
}

bool errorWouldBlock(int error) {
    return error == EAGAIN || error == EWOULDBLOCK || error == EINPROGRESS;
}

bool errorConnectionLost(int error) {
    return error == EPIPE || error == ECONNRESET || error == ENOTCONN || error == ECONNABORTED ||
           error == ETIMEDOUT || error == EHOSTUNREACH || error == ENETUNREACH || error == EBADF ||
           error == ENOTSOCK || error == EIO || error == ENODEV || error == ENXIO;
}

bool errorTimedOut(int error) {
    return error == ETIMEDOUT;
}

bool errorConnectionRefused(int error) {
    return error == ECONNREFUSED;
}

bool errorDeviceGone(int error) {
    return error == ENODEV || error == ENXIO || error == EIO || error == ESHUTDOWN ||
           error == EBADF;
}

bool errorNotFound(int error) {
    return error == ENOENT || error == ENOTDIR || error == ENODEV || error == ENXIO;
}

bool errorNoAccess(int error) {
    return error == EACCES || error == EPERM || error == EROFS;
}

bool errorHeldElsewhere(int error) {
    return error == EBUSY;
}

bool errorRequestUnsupported(int error) {
    return error == ENOTTY || error == EOPNOTSUPP || error == ENOSYS;
}

bool errorNoReadSide(int error) {
    return error == EINVAL;
}

} // namespace os
