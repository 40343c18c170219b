#include "os/os_io.h"

#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>

namespace os {
namespace {

template <class Call> long repeatInterrupted(Call call) {
    ssize_t n;
    do {
        n = call();
    } while (n < 0 && errno == EINTR);
    return long(n);
}

} // namespace

long socketSendSome(intptr_t socket, const void* data, size_t length) {
    return repeatInterrupted([&] { return ::send(int(socket), data, length, MSG_NOSIGNAL); });
}

long socketRecvSome(intptr_t socket, void* buffer, size_t size) {
    return repeatInterrupted([&] { return ::recv(int(socket), buffer, size, 0); });
}

int socketPending(intptr_t socket) {
    char c;
    long n = repeatInterrupted([&] { return ::recv(int(socket), &c, 1, MSG_PEEK | MSG_DONTWAIT); });
    return n > 0 ? 1 : n == 0 ? 0 : -1;
}

long fileWriteSome(intptr_t handle, const void* data, size_t length) {
    return repeatInterrupted([&] { return ::write(int(handle), data, length); });
}

long fileReadSome(intptr_t handle, void* buffer, size_t size) {
    return repeatInterrupted([&] { return ::read(int(handle), buffer, size); });
}

bool errorWouldBlock(int error) {
    return error == EAGAIN || error == EWOULDBLOCK || error == EINPROGRESS;
}

bool errorConnectionLost(int error) {
    return error == EPIPE || error == ECONNRESET || error == ENOTCONN || error == ECONNABORTED ||
           error == ETIMEDOUT || error == EHOSTUNREACH || error == ENETUNREACH || error == EBADF ||
           error == ENOTSOCK || error == EIO || error == ENODEV || error == ENXIO;
}

} // namespace os
