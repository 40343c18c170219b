// TCP and UDP sockets for the network ports: a move-only owner with an empty
// state and a noexcept destructor. Addresses are IPv4 in network byte order,
// ports in host byte order. Failing calls return -1 (or false) and leave the
// cause in os::lastError(); os_io.h classifies it.
#pragma once

#include <cstddef>
#include <cstdint>

namespace os {

class Socket {
public:
    Socket() = default;
    Socket(Socket&& other) noexcept : fd_(other.fd_) { other.fd_ = -1; }
    Socket& operator=(Socket&& other) noexcept;
    Socket(const Socket&) = delete;
    Socket& operator=(const Socket&) = delete;
    ~Socket();

    // New sockets, empty when the system refuses one.
    static Socket tcp();
    static Socket udp();

    bool valid() const { return fd_ >= 0; }
    intptr_t handle() const { return fd_; }
    void close();

    // Connects, waiting at most timeoutMs (a switched-off printer must not
    // hold the caller for the system's two minutes). Leaves the socket in
    // blocking mode. 0 or the error code.
    int connect(uint32_t address, uint16_t port, uint32_t timeoutMs);
    bool setNonBlocking(bool on);

    // One call each; bytes moved or -1. send never raises SIGPIPE.
    long send(const void* data, size_t length);
    long recv(void* buffer, size_t size);
    long sendTo(const void* data, size_t length, uint32_t address, uint16_t port);
    // fromLength receives the length of the sender's address.
    long recvFrom(void* buffer, size_t size, uint32_t* fromAddress, uint16_t* fromPort,
                  int* fromLength);

    // Bytes sent but not yet acknowledged by the peer (still in the system's
    // buffers), or -1 when the system cannot tell.
    long unacknowledged() const;

    bool shutdownSend();
    bool shutdownBoth();

private:
    explicit Socket(int fd) : fd_(fd) {}
    int fd_ = -1;
};

} // namespace os
