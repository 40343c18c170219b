#include "os/os_io.h"

#include "os/posix/syscalls.h"

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
    return repeatInterrupted([&] { return sys::send(int(socket), data, length, MSG_NOSIGNAL); });
}

long socketRecvSome(intptr_t socket, void* buffer, size_t size) {
    return repeatInterrupted([&] { return sys::recv(int(socket), buffer, size, 0); });
}

int socketPending(intptr_t socket) {
    char c;
    long n =
        repeatInterrupted([&] { return sys::recv(int(socket), &c, 1, MSG_PEEK | MSG_DONTWAIT); });
    return n > 0 ? 1 : n == 0 ? 0 : -1;
}

long fileWriteSome(intptr_t handle, const void* data, size_t length) {
    return repeatInterrupted([&] { return sys::write(int(handle), data, length); });
}

long fileReadSome(intptr_t handle, void* buffer, size_t size) {
    return repeatInterrupted([&] { return sys::read(int(handle), buffer, size); });
}

} // namespace os
