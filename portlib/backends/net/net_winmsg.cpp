#include "backends/net/net_winmsg.h"

#include "os/os_io.h"
#include "os/os_wait.h"
#include "trace.h"

WNetW::~WNetW() {
    WNetW::release(0);
}

void WNetW::post(intptr_t socket, uint32_t event, int error) {
    // lParam as the system packs it: event in the low word, error in the high.
    dovaPostMessage(DOVA_WM_SOCKET, uintptr_t(socket), intptr_t(event | (uint32_t(error) << 16)));
}

void WNetW::rearm(std::atomic<bool>& which) {
    if (closed_.load() || which.exchange(true)) return;
    rearmEvent_.set();
}

void WNetW::watch(intptr_t socket) {
    while (!stopping()) {
        os::WaitItem items[4] = {{stopEvent().waitHandle(), os::Want::Read},
                                 {rearmEvent_.waitHandle(), os::Want::Read}};
        size_t n = 2;
        const bool wantRead = readArmed_.load(), wantWrite = writeArmed_.load();
        if (wantRead) items[n++] = {socket, os::Want::Read};
        if (wantWrite) items[n++] = {socket, os::Want::Write};
        int r = os::waitAny(items, n, os::kWaitInfinite);
        if (r == 0) break;
        if (r == os::kWaitFailed) {
            dovaTrace("DOVA: WAIT_FAILED %d\n", os::lastError());
            if (pauseUnlessStopped(50)) break;
            continue;
        }
        if (r == 1) {
            rearmEvent_.reset();
            continue;
        }
        if (items[r].want == os::Want::Write) {
            writeArmed_.store(false);
            post(socket, FD_WRITE, 0);
            continue;
        }
        int pending = os::socketPending(socket);
        if (pending < 0 && os::errorWouldBlock(os::lastError())) continue;
        readArmed_.store(false);
        if (pending > 0) {
            post(socket, FD_READ, 0);
        } else {
            closed_.store(true);
            writeArmed_.store(false);
            post(socket, FD_CLOSE, pending == 0 ? 0 : os::lastError());
        }
    }
}

int32_t WNetW::claim(int32_t) {
    dovaTrace("DOVA: WNetW::claim()\n");
    release(0);
    if (!dovaMessageWindowReady()) return DOVA_E_SYSTEM;
    if (port_ == 0) return DOVA_E_ADDRESS;
    socket_ = os::Socket::tcp();
    if (!socket_.valid()) return DOVA_E_SOCKET;
    if (connectPeer() != 0) {
        release(0);
        return DOVA_E_CONNECT;
    }
    const intptr_t h = socket_.handle();
    RegistSocket(int(h), this);
    registered_ = true;
    // Selecting the events: a connected socket is writable at once, so the
    // first notification is FD_WRITE; FD_READ waits for data.
    closed_.store(false);
    readArmed_.store(true);
    writeArmed_.store(true);
    rearmEvent_ = os::Event::create();
    bool selected = socket_.setNonBlocking(true) && rearmEvent_.valid() && createEvents() &&
                    startThreads(nullptr, nullptr, [this, h] { watch(h); });
    int error = selected ? 0 : os::lastError();
    // The dispatcher has no window handle of its own; 0 stands for it.
    dovaTrace("DOVA:  WSAAsyncSelect(%08X)=%d\n", 0u, selected ? 0 : -1);
    if (!selected) {
        lastError_ = error;
        release(0);
        return DOVA_E_NOTIFY;
    }
    return DOVA_OK;
}

int32_t WNetW::release(int32_t timeout) {
    if (!socket_.valid()) return DOVA_OK;
    dovaTrace("DOVA: WNetW::release(%d)\n", timeout);
    int32_t result = DovaBase::waitSendDone(timeout);
    stopThreads();
    if (registered_) {
        UnRegistSocket(int(socket_.handle()));
        registered_ = false;
    }
    closeEvents();
    rearmEvent_.close();
    socket_.close();
    return result;
}

int32_t WNetW::send(const void* data, uint32_t length, uint32_t* written, uint32_t tagA,
                    uint32_t tagB, uint32_t tagC) {
    int32_t r = WNet::send(data, length, written, tagA, tagB, tagC);
    if (r != DOVA_OK && os::errorWouldBlock(lastError_)) rearm(writeArmed_);
    return r;
}

int32_t WNetW::recv(void* buffer, uint32_t size, uint32_t* read, uint32_t reserved) {
    int32_t r = WNet::recv(buffer, size, read, reserved);
    rearm(readArmed_);
    return r;
}

void WNetW::onSocketMessage(uint32_t, uintptr_t, intptr_t lParam) {
    dovaTrace("DOVA: WNetW::WmWsaAsyncSelect(%04X)\n", unsigned(lParam & 0xFFFF));
}
