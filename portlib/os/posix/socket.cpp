#include "os/os_socket.h"

#include "os/os_wait.h"
#include "os/posix/syscalls.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <linux/sockios.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>

namespace os {
namespace {

sockaddr_in inetAddress(uint32_t address, uint16_t port) {
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(port);
    a.sin_addr.s_addr = address;
    return a;
}

} // namespace

Socket& Socket::operator=(Socket&& other) noexcept {
    if (this != &other) {
        close();
        fd_ = other.fd_;
        other.fd_ = -1;
    }
    return *this;
}

Socket::~Socket() {
    close();
}

Socket Socket::tcp() {
    return Socket(sys::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0));
}

Socket Socket::udp() {
    Socket s(sys::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0));
    // A host that answers a datagram with "port unreachable" makes the next
    // receive fail, as a Windows datagram socket reports it; without this
    // Linux drops the answer and the caller only sees silence.
    int one = 1;
    if (s.valid()) ::setsockopt(s.fd_, IPPROTO_IP, IP_RECVERR, &one, sizeof one);
    return s;
}

void Socket::close() {
    if (fd_ < 0) return;
    int saved = errno; // a close must not hide the error the caller is about to read
    ::close(fd_);
    fd_ = -1;
    errno = saved;
}

bool Socket::setNonBlocking(bool on) {
    int flags = ::fcntl(fd_, F_GETFL);
    if (flags < 0) return false;
    flags = on ? (flags | O_NONBLOCK) : (flags & ~O_NONBLOCK);
    return ::fcntl(fd_, F_SETFL, flags) == 0;
}

int Socket::connect(uint32_t address, uint16_t port, uint32_t timeoutMs) {
    if (!setNonBlocking(true)) return errno;
    sockaddr_in a = inetAddress(address, port);
    int error = 0;
    if (::connect(fd_, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0) {
        error = errno;
        if (error == EINPROGRESS || error == EINTR) {
            int r = waitAny({{fd_, Want::Write}}, timeoutMs);
            if (r == kWaitTimeout) {
                error = ETIMEDOUT;
            } else if (r == kWaitFailed) {
                error = errno;
            } else {
                socklen_t len = sizeof error;
                if (::getsockopt(fd_, SOL_SOCKET, SO_ERROR, &error, &len) != 0) error = errno;
            }
        }
    }
    if (!setNonBlocking(false) && error == 0) error = errno;
    if (error == 0) {
        // Printer data goes out in blocks; waiting to fill segments only adds latency.
        int one = 1;
        ::setsockopt(fd_, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    }
    errno = error;
    return error;
}

long Socket::send(const void* data, size_t length) {
    ssize_t n;
    do {
        n = sys::send(fd_, data, length, MSG_NOSIGNAL);
    } while (n < 0 && errno == EINTR);
    return long(n);
}

long Socket::recv(void* buffer, size_t size) {
    ssize_t n;
    do {
        n = sys::recv(fd_, buffer, size, 0);
    } while (n < 0 && errno == EINTR);
    return long(n);
}

long Socket::sendTo(const void* data, size_t length, uint32_t address, uint16_t port) {
    sockaddr_in a = inetAddress(address, port);
    ssize_t n;
    do {
        n = ::sendto(fd_, data, length, MSG_NOSIGNAL, reinterpret_cast<sockaddr*>(&a), sizeof a);
    } while (n < 0 && errno == EINTR);
    return long(n);
}

long Socket::recvFrom(void* buffer, size_t size, uint32_t* fromAddress, uint16_t* fromPort,
                      int* fromLength) {
    sockaddr_in from{};
    socklen_t len = sizeof from;
    ssize_t n;
    do {
        n = ::recvfrom(fd_, buffer, size, MSG_DONTWAIT, reinterpret_cast<sockaddr*>(&from), &len);
    } while (n < 0 && errno == EINTR);
    if (n < 0) {
        // The reported error also sits in the error queue, which would keep
        // the socket looking ready: take it off.
        int saved = errno;
        char scratch[256];
        msghdr m{};
        m.msg_control = scratch;
        m.msg_controllen = sizeof scratch;
        while (::recvmsg(fd_, &m, MSG_ERRQUEUE | MSG_DONTWAIT) >= 0) {
            m.msg_controllen = sizeof scratch;
        }
        errno = saved;
    }
    if (fromAddress) *fromAddress = from.sin_addr.s_addr;
    if (fromPort) *fromPort = ntohs(from.sin_port);
    if (fromLength) *fromLength = int(len);
    return long(n);
}

long Socket::unacknowledged() const {
    int n = 0;
    if (fd_ < 0 || ::ioctl(fd_, SIOCOUTQ, &n) != 0) return -1;
    return n;
}

bool Socket::shutdownSend() {
    return ::shutdown(fd_, SHUT_WR) == 0;
}

bool Socket::shutdownBoth() {
    return ::shutdown(fd_, SHUT_RDWR) == 0;
}

} // namespace os
