#include "backends/net/net_kpnet.h"

#include "os/os_clock.h"
#include "os/os_inet.h"
#include "os/os_wait.h"
#include "target_names.h"
#include "trace.h"

#include <cstring>

namespace {

constexpr uint32_t kStatusTimeoutMs = 1000;
constexpr int kStatusTries = 3;
constexpr uint16_t kCommandReset = 0x12;
constexpr uint16_t kCommandForce = 0x15;
constexpr uint16_t kQueryText = 0x00;
constexpr uint16_t kQueryCode = 0x10;
constexpr uint16_t kQueryCheck = 0x17;

} // namespace

WKpnet::~WKpnet() {
    WKpnet::release(0);
}

int32_t WKpnet::claimSocketAndChannel(const char* className) {
    dovaTrace("DOVA: %s::claim(%s:%d)\n", className, os::inetText(address_).c_str(), int(port_));
    release(0);
    if (!dovaIsValidIPv4(address_)) return DOVA_E_IPADDR;
    if (port_ == 0) return DOVA_E_ADDRESS;
    socket_ = os::Socket::tcp();
    if (!socket_.valid()) {
        lastError_ = os::lastError();
        release(0);
        return DOVA_E_SOCKET;
    }
    status_.setTarget(address_);
    int32_t r = status_.open();
    if (r != DOVA_OK) {
        release(0);
        return r;
    }
    return DOVA_OK;
}

int32_t WKpnet::claim(int32_t) {
    int32_t r = claimSocketAndChannel("WKpnet");
    if (r != DOVA_OK) return r;
    if (connectPeer() != 0) {
        release(0);
        return DOVA_E_CONNECT;
    }
    return DOVA_OK;
}

int32_t WKpnet::release(int32_t timeout) {
    if (!socket_.valid()) return DOVA_OK;
    dovaTrace("DOVA: WKpnet::release(%d)\n", timeout);
    int32_t result = waitSendDone(timeout);
    if (timeout != 0 && result == 0) result = closeGracefully(timeout);
    status_.close();
    socket_.close();
    return result;
}

int32_t WKpnet::statusRequest(const std::vector<uint8_t>& packet) {
    return status_.request(packet.data(), uint32_t(packet.size()), kStatusTimeoutMs, kStatusTries);
}

int32_t WKpnet::reset() {
    int32_t r = statusRequest(WUdpc::packet('C', kCommandReset, {0}));
    if (r != DOVA_OK) return r;
    return WUdpc::result(status_.reply()) == 0 ? DOVA_OK : DOVA_E_DEVSTATUS;
}

int32_t WKpnet::force(int32_t on) {
    const uint8_t state = on ? 1 : 0;
    const auto packet = WUdpc::packet('C', kCommandForce, {state});
    for (int pass = 0; pass < 3; ++pass) {
        int32_t r = statusRequest(packet);
        if (r != DOVA_OK) return r;
        r = readForceReply(status_.reply(), status_.replyLength(), state);
        if (r != 1) return r;
        // The printer has not switched yet: give it a second, after the last
        // pass as after the others.
        os::sleepMs(1000);
    }
    return 1;
}

int32_t WKpnet::readQueryReply(const uint8_t* reply, uint32_t length, uint32_t expectedLength,
                               char* out, uint32_t dataLength) {
    if (WUdpc::result(reply) != 0 || length != expectedLength) return DOVA_E_DEVSTATUS;
    if (out) {
        const char* data = reinterpret_cast<const char*>(reply + 14);
        size_t n = strnlen(data, dataLength);
        std::memcpy(out, data, n);
        out[n] = 0;
    }
    return DOVA_OK;
}

int32_t WKpnet::readForceReply(const uint8_t* reply, uint32_t length, uint8_t state) {
    if (WUdpc::result(reply) != 0) return DOVA_E_DEVSTATUS;
    return length == 15 && reply[14] == state ? DOVA_OK : 1;
}

int32_t WKpnet::query(uint16_t command, uint32_t replyLength, char* out, uint32_t dataLength) {
    int32_t r = statusRequest(WUdpc::packet('Q', command));
    if (r != DOVA_OK) return r;
    return readQueryReply(status_.reply(), status_.replyLength(), replyLength, out, dataLength);
}

int32_t WKpnet::queryDeviceText(char* text) {
    if (!text) return DOVA_E_PARAM;
    return query(kQueryText, 147, text, 133);
}

int32_t WKpnet::queryDeviceCode(char* code) {
    if (!code) return DOVA_E_PARAM;
    return query(kQueryCode, 27, code, 13);
}

int32_t WKpnet::queryDeviceCheck(uint32_t) {
    return query(kQueryCheck, 18, nullptr, 0);
}
