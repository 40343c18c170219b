// A signal that one thread raises to wake another out of a wait: a Win32 event
// on Windows, an eventfd here. It stays raised until reset(), so a waiter that
// wants auto-reset behaviour resets it after waking on it. Waited on with
// os::waitAny (os_wait.h) together with a device handle.
#pragma once

#include <cstdint>

namespace os {

class Event {
public:
    Event() = default;
    Event(Event&& other) noexcept : fd_(other.fd_) { other.fd_ = -1; }
    Event& operator=(Event&& other) noexcept;
    Event(const Event&) = delete;
    Event& operator=(const Event&) = delete;
    ~Event();

    // A new, lowered event; an empty Event when the system refuses one.
    static Event create();

    bool valid() const { return fd_ >= 0; }
    // The handle to wait on (os::waitAny, readable while raised).
    intptr_t waitHandle() const { return fd_; }

    // Raise and lower; callable from any thread.
    void set();
    void reset();
    bool isSet() const;

    void close();

private:
    explicit Event(int fd) : fd_(fd) {}
    int fd_ = -1;
};

} // namespace os
