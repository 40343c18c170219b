// A device node a port owns (a serial line, a parallel or USB printer node, a
// HID node): a move-only owner with an empty state, a noexcept destructor and
// an explicit close() that can report. The node is opened for reading and
// writing without sharing, non-blocking, and never becomes the controlling
// terminal. Failing calls return -1 (or false) with the cause in
// os::lastError(), which os_error.h classifies.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace os {

class DeviceNode {
public:
    DeviceNode() = default;
    DeviceNode(DeviceNode&& other) noexcept : fd_(other.fd_), terminal_(other.terminal_) {
        other.fd_ = -1;
    }
    DeviceNode& operator=(DeviceNode&& other) noexcept;
    DeviceNode(const DeviceNode&) = delete;
    DeviceNode& operator=(const DeviceNode&) = delete;
    ~DeviceNode();

    // Opens the node at path (a symlink is followed) and takes it for this
    // port alone: a node that another port or process holds does not open
    // (os::errorHeldElsewhere), nor does a missing one (os::errorNotFound) or
    // one this process may not use (os::errorNoAccess). Empty on failure.
    static DeviceNode open(const char* path);
    // The path with every symlink followed (as open follows them), or the
    // path itself when it does not lead to a node.
    static std::string resolvePath(const char* path);

    bool isOpen() const { return fd_ >= 0; }
    // The handle to wait on (os::waitAny) and to report as the port's handle.
    intptr_t handle() const { return fd_; }
    // A terminal line (serial port, USB serial adapter, pseudo-terminal).
    bool isTerminal() const { return terminal_; }

    // One transfer each, repeated only when interrupted: the bytes moved
    // (which may be fewer than asked, and 0 from a line with nothing yet), or
    // -1 (os::errorWouldBlock when the node is not ready).
    long readSome(void* buffer, size_t size);
    long writeSome(const void* data, size_t length);

    // A driver request with its argument, passed through unchanged: the
    // request's result (0 or more), or -1. Repeated only when interrupted.
    int control(unsigned long request, void* argument);

    // Gives the node up (and its exclusive hold); true when it closed cleanly.
    // The DeviceNode is empty afterwards.
    bool close();

private:
    int fd_ = -1;
    bool terminal_ = false;
};

} // namespace os
