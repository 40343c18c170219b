// WNetW: the TCP port whose socket notifications go through the library's
// message dispatcher (mode 3). Data moves as in WNet, on the caller's thread,
// but the socket is non-blocking: a send or recv that would wait fails with
// 1101 / 1102. A watcher thread stands in for the system's socket
// notifications: it posts FD_READ, FD_WRITE and FD_CLOSE for the socket to
// the dispatcher, re-armed the way the system re-arms them (FD_READ after a
// recv, FD_WRITE after a send that would block); the port only traces them
// when the owner dispatches. Needs the library started (the dispatcher).
#pragma once

#include "backends/net/net.h"
#include "engine/wasync.h"
#include "message_window.h"
#include "os/os_event.h"

#include <atomic>

class WNetW : public WNet, public WAsync, public DovaMessageTarget {
public:
    WNetW() : WAsync(static_cast<DovaBase&>(*this)) {}
    ~WNetW() override;

    int32_t getAsyncMode() override { return 1; }
    // 9999 when the dispatcher does not exist; otherwise as WNet and 1027
    // when the notifications cannot be set up.
    int32_t claim(int32_t timeout) override;
    // No drain (nothing is queued) and no graceful close.
    int32_t release(int32_t timeout) override;
    int32_t send(const void* data, uint32_t length, uint32_t* written, uint32_t tagA, uint32_t tagB,
                 uint32_t tagC) override;
    int32_t recv(void* buffer, uint32_t size, uint32_t* read, uint32_t reserved) override;

    // Runs on the thread that dispatches the messages.
    void onSocketMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) override;

    // The system's network event codes.
    static constexpr uint32_t FD_READ = 0x01;
    static constexpr uint32_t FD_WRITE = 0x02;
    static constexpr uint32_t FD_CONNECT = 0x10;
    static constexpr uint32_t FD_CLOSE = 0x20;

private:
    void watch(intptr_t socket);
    void post(intptr_t socket, uint32_t event, int error);
    void rearm(std::atomic<bool>& which);

    os::Event rearmEvent_;
    std::atomic<bool> readArmed_{false};
    std::atomic<bool> writeArmed_{false};
    std::atomic<bool> closed_{false};
    bool registered_ = false;
};
