#include "backends/net/net.h"

#include "os/os_clock.h"
#include "os/os_config.h"
#include "os/os_inet.h"
#include "os/os_io.h"
#include "os/os_wait.h"
#include "target_names.h"
#include "trace.h"

uint32_t dovaConnectTimeoutMs() {
    auto ms = os::configNumber(nullptr, "ConnectTimeout");
    return ms && *ms ? *ms : 10000;
}

WNet::~WNet() {
    WNet::release(0);
}

int32_t WNet::getIP(uint32_t* address) {
    if (!address) return DOVA_E_PARAM;
    *address = address_;
    return DOVA_OK;
}

int32_t WNet::setIP(uint32_t address) {
    address_ = address;
    return DOVA_OK;
}

int32_t WNet::getPort(uint32_t* port) {
    if (!port) return DOVA_E_PARAM;
    *port = port_;
    return DOVA_OK;
}

int32_t WNet::setPort(uint32_t port) {
    port_ = uint16_t(port);
    return DOVA_OK;
}

int WNet::connectPeer() {
    int error = dovaIsValidIPv4(address_) ? socket_.connect(address_, port_, dovaConnectTimeoutMs())
                                          : os::noAddressError();
    if (error != 0) {
        lastError_ = error;
        dovaTrace("DOVA:  iErr=%d\n", error);
    }
    return error;
}

int32_t WNet::closeAfterDrain(int32_t drained, int32_t timeout) {
    if (timeout == 0 || drained != 0) return drained;
    return closeGracefully(timeout);
}

int32_t WNet::closeGracefully(int32_t timeoutMs) {
    if (!socket_.shutdownSend()) {
        // Refused on a connection the printer has already reset.
        lastError_ = os::lastError();
        return os::errorConnectionLost(lastError_) ? 1 : 0;
    }
    // The printer closes its side once it has everything; what it still
    // sends meanwhile is of no use to a closing port.
    char scratch[256];
    const uint32_t start = os::tickCount();
    for (;;) {
        uint32_t spent = os::tickCount() - start;
        if (spent >= uint32_t(timeoutMs)) {
            lastError_ = os::timedOutError();
            // A printer that took everything but keeps its side open is
            // fine; one that left data in our buffers did not get the job.
            if (socket_.unacknowledged() > 0) {
                socket_.shutdownBoth();
                return 1;
            }
            break;
        }
        int r = os::waitAny({{socket_.handle(), os::Want::Read}}, uint32_t(timeoutMs) - spent);
        if (r == os::kWaitTimeout) continue;
        if (r == os::kWaitFailed) {
            lastError_ = os::lastError();
            break;
        }
        long n = os::socketRecvSome(socket_.handle(), scratch, sizeof scratch);
        if (n == 0) break;
        if (n < 0 && !os::errorWouldBlock(os::lastError())) {
            lastError_ = os::lastError();
            if (os::errorConnectionLost(lastError_)) {
                // Unread data makes a closing printer reset the connection:
                // the job did not arrive whole, which must not pass as done.
                socket_.shutdownBoth();
                return 1;
            }
            break;
        }
    }
    if (!socket_.shutdownBoth()) lastError_ = os::lastError();
    return 0;
}

int32_t WNet::claim(int32_t) {
    dovaTrace("DOVA: WNet::claim()\n");
    release(0);
    if (port_ == 0) return DOVA_E_ADDRESS;
    socket_ = os::Socket::tcp();
    if (!socket_.valid()) {
        lastError_ = os::lastError();
        return DOVA_E_SOCKET;
    }
    if (connectPeer() != 0) {
        release(0);
        return DOVA_E_CONNECT;
    }
    return DOVA_OK;
}

int32_t WNet::release(int32_t timeout) {
    if (!socket_.valid()) return DOVA_OK;
    dovaTrace("DOVA: WNet::release(%d)\n", timeout);
    int32_t result = waitSendDone(timeout);
    if (timeout != 0 && result == 0) result = closeGracefully(timeout);
    socket_.close();
    return result;
}

int32_t WNet::send(const void* data, uint32_t length, uint32_t* written, uint32_t, uint32_t,
                   uint32_t) {
    dovaTrace("DOVA: WNet::send(%d)\n", int(length));
    if (written) *written = 0;
    long n = socket_.send(data, length);
    if (n < 0) {
        lastError_ = os::lastError();
        return DOVA_E_WRITE;
    }
    if (written) *written = uint32_t(n);
    return uint32_t(n) == length ? DOVA_OK : DOVA_E_WRITE;
}

int32_t WNet::recv(void* buffer, uint32_t size, uint32_t* read, uint32_t) {
    dovaTrace("DOVA: WNet::recv(%d)\n", int(size));
    if (read) *read = 0;
    long n = socket_.recv(buffer, size);
    if (n < 0) {
        lastError_ = os::lastError();
        return DOVA_E_READ;
    }
    if (read) *read = uint32_t(n);
    return DOVA_OK;
}
