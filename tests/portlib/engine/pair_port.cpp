#include "pair_port.h"

#include "engine/descriptor_transfer.h"

#include <dova/dova.h>

#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>

namespace {

// Plays a device library's transfer call (a bulk transfer with its own
// time-out): the engine cannot wake it, only wait for its time-out.
class LibraryCallTransfer final : public DovaTransfer {
public:
    explicit LibraryCallTransfer(int fd) : fd_(fd) {}

    TransferResult write(const void* data, uint32_t length, const os::Event&) override {
        if (!ready(POLLOUT)) return TransferResult::done(0); // the call's time-out
        ssize_t n = ::send(fd_, data, length, MSG_DONTWAIT | MSG_NOSIGNAL);
        if (n < 0) return errno == EAGAIN ? TransferResult::done(0) : TransferResult::failed(errno);
        return TransferResult::done(uint32_t(n));
    }
    TransferResult read(void* buffer, uint32_t size, const os::Event&) override {
        if (!ready(POLLIN)) return TransferResult::done(0);
        ssize_t n = ::recv(fd_, buffer, size, MSG_DONTWAIT);
        if (n == 0) return TransferResult::failed(ENODEV); // the device went away
        if (n < 0) return errno == EAGAIN ? TransferResult::done(0) : TransferResult::failed(errno);
        return TransferResult::done(uint32_t(n));
    }
    bool zeroReadEndsStream() const override { return false; }
    bool failureIsPermanent(int error) const override {
        return error == ENODEV || error == EPIPE || error == ECONNRESET;
    }

private:
    bool ready(short what) {
        pollfd p{fd_, what, 0};
        return ::poll(&p, 1, kCallMs) == 1;
    }
    static constexpr int kCallMs = 50;
    int fd_;
};

} // namespace

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
    if (primitive_ == PairPrimitive::Descriptor)
        setTransfer(std::make_unique<DescriptorTransfer>(fd_, DescriptorTransfer::Kind::Socket));
    else
        setTransfer(std::make_unique<LibraryCallTransfer>(fd_));
    if (!startThreads([this] { runSendWorker("send start\n", "send end\n"); },
                      [this] { runRecvWorker("recv start\n", "recv end\n"); }, waitBody)) {
        release(0);
        return DOVA_E_THREAD;
    }
    return DOVA_OK;
}

int32_t PairPort::release(int32_t timeout) {
    if (fd_ < 0) return DOVA_OK;
    int32_t result = waitSendDone(timeout);
    closeEngine();
    // The peer stays open until the next claim, so a test can read all
    // that was sent before the release.
    ::close(fd_);
    fd_ = -1;
    return result;
}
