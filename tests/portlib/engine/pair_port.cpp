#include "pair_port.h"

#include <dova/dova.h>

#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

PairPort::~PairPort() {
    PairPort::release(0);
    if (peer_ >= 0) ::close(peer_);
}

int32_t PairPort::claim(int32_t) {
    release(0);
    if (peer_ >= 0) ::close(peer_);
    int fds[2];
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, fds) != 0) return DOVA_E_OPEN;
    fd_ = fds[0];
    peer_ = fds[1];
    if (small_) {
        int size = 4096;
        ::setsockopt(fd_, SOL_SOCKET, SO_SNDBUF, &size, sizeof size);
        ::setsockopt(peer_, SOL_SOCKET, SO_RCVBUF, &size, sizeof size);
    }
    ::fcntl(fd_, F_SETFL, ::fcntl(fd_, F_GETFL) | O_NONBLOCK);
    if (!createEvents()) {
        release(0);
        return DOVA_E_EVENT;
    }
    if (!createQueues()) {
        release(0);
        return DOVA_E_QUEUE;
    }
    const intptr_t h = fd_;
    if (!startThreads([this, h] { runSendWorker("send start\n", "send end\n", h, Device::Socket); },
                      [this, h] { runRecvWorker("recv start\n", "recv end\n", h, Device::Socket); },
                      nullptr)) {
        release(0);
        return DOVA_E_THREAD;
    }
    return DOVA_OK;
}

int32_t PairPort::release(int32_t timeout) {
    if (fd_ < 0) return DOVA_OK;
    int32_t result = waitSendDone(timeout);
    stopThreads();
    freeQueues();
    closeEvents();
    // The peer stays open until the next claim, so a test can read all
    // that was sent before the release.
    ::close(fd_);
    fd_ = -1;
    return result;
}
