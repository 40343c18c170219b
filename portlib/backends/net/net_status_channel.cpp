#include "backends/net/net_status_channel.h"

#include "os/os_config.h"
#include "os/os_io.h"
#include "os/os_wait.h"
#include "trace.h"

#include <dova/dova.h>

#include <cstring>

namespace {

// The wait results as the trace shows them: WAIT_TIMEOUT and WAIT_FAILED.
constexpr int kTraceTimeout = 258;
constexpr int kTraceFailed = -1;

int traceWaitResult(int r) {
    return r == os::kWaitTimeout ? kTraceTimeout : r == os::kWaitFailed ? kTraceFailed : r;
}

} // namespace

int32_t WUdpc::open() {
    dovaTrace("DOVA: WUdpc::claim()\n");
    close();
    auto port = os::configNumber(nullptr, "StatusPort");
    port_ = port && *port && *port < 65536 ? uint16_t(*port) : kDefaultPort;
    socket_ = os::Socket::udp();
    if (!socket_.valid()) return DOVA_E_SOCKET;
    cancelEvent_ = os::Event::create();
    if (!cancelEvent_.valid()) {
        close();
        return DOVA_E_EVENT;
    }
    cancel_ = false;
    return DOVA_OK;
}

void WUdpc::close() {
    if (!socket_.valid()) return;
    dovaTrace("DOVA: WUdpc::release(%d)\n", 0);
    cancel_ = true;
    cancelEvent_.set();
    cancelEvent_.close();
    socket_.close();
}

std::vector<uint8_t> WUdpc::packet(char type, uint16_t command,
                                   const std::vector<uint8_t>& params) {
    std::vector<uint8_t> p = {'O',
                              'R',
                              'V',
                              'A',
                              'N',
                              uint8_t(type),
                              0x03,
                              0x00,
                              uint8_t(command >> 8),
                              uint8_t(command),
                              0,
                              0,
                              uint8_t(params.size() >> 8),
                              uint8_t(params.size())};
    for (uint8_t b : params)
        p.push_back(b);
    return p;
}

bool WUdpc::matches(const uint8_t* request, uint32_t requestLength, const uint8_t* reply,
                    uint32_t replyLength) {
    if (requestLength < 10 || replyLength <= 13) return false;
    if (std::memcmp(reply, "ORVAN", 5) != 0) return false;
    char lower;
    switch (request[5]) {
    case 'C':
        lower = 'c';
        break;
    case 'I':
        lower = 'i';
        break;
    case 'P':
        lower = 'p';
        break;
    case 'Q':
        lower = 'q';
        break;
    case 'S':
        lower = 's';
        break;
    default:
        return false;
    }
    return reply[5] == uint8_t(lower) && std::memcmp(reply + 6, request + 6, 4) == 0;
}

int32_t WUdpc::request(const uint8_t* packet, uint32_t length, uint32_t timeoutMs, int tries) {
    if (!socket_.valid()) return DOVA_E_STATUSSEND;
    if (cancel_) return 1;
    int attempts = 0;
    while (attempts < tries && !cancel_) {
        long sent = socket_.sendTo(packet, length, address_, port_);
        dovaTrace("DOVA: sendto(len=%d)=%d\n", int(length), int(sent));
        if (sent < 0) return DOVA_E_STATUSSEND;
        int r = os::waitAny(
            {{cancelEvent_.waitHandle(), os::Want::Read}, {socket_.handle(), os::Want::Read}},
            timeoutMs);
        const int waitError = r == os::kWaitFailed ? os::lastError() : 0;
        dovaTrace("DOVA: WaitForMulti()=%d\n", traceWaitResult(r));
        if (r == 0) return DOVA_E_STATUSQUIT;
        if (r == os::kWaitTimeout) {
            ++attempts;
            continue;
        }
        if (r == os::kWaitFailed) {
            dovaTrace("DOVA: WAIT_FAILED %d\n", waitError);
        } else {
            dovaTrace("DOVA:  FD_READ %d\n", 0);
        }
        long n = socket_.recvFrom(buffer_, sizeof buffer_, &fromAddress_, nullptr, &fromLength_);
        dovaTrace("DOVA: recvfrom(fromlen=%d)=%d\n", fromLength_, int(n));
        // Also when the printer's host answered "port unreachable" (nothing
        // listens on its status port): sending again would only repeat it.
        if (n < 0) return DOVA_E_STATUSRECV;
        replyLength_ = uint32_t(n);
        if (matches(packet, length, buffer_, replyLength_)) return DOVA_OK;
        ++attempts;
    }
    return 1;
}
