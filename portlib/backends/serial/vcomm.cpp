#include "backends/serial/vcomm.h"

#include "os/os_clock.h"
#include "os/os_config.h"
#include "os/os_error.h"
#include "os/os_serial_line.h"
#include "os/os_wait.h"
#include "trace.h"

#include <dova/dova.h>

#include <algorithm>

namespace {

// Escape function codes of the port interface.
enum : uint32_t {
    kSetXoff = 1,
    kSetXon = 2,
    kSetRts = 3,
    kClrRts = 4,
    kSetDtr = 5,
    kClrDtr = 6,
    kSetBreak = 8,
    kClrBreak = 9,
};

// A node that took nothing while saying it was ready (or a held output) is
// asked again after this pause, so a busy printer does not spin a core.
constexpr uint32_t kBusyPauseMs = 5;
constexpr uint32_t kMaxDword = 0xFFFFFFFFu;

bool validNo(int32_t no) {
    return no >= 1 && no <= 32;
}

} // namespace

std::string dovaLineDevicePath(const char* key, const std::string& defaultNode) {
    auto configured = os::configString("devices", key);
    std::string path = configured && !configured->empty() ? *configured : defaultNode;
    return os::DeviceNode::resolvePath(path.c_str());
}

std::string WVcomm::devicePath() const {
    std::string key = std::string(baseName()) + std::to_string(no_);
    return dovaLineDevicePath(key.c_str(), defaultNode(no_));
}

int32_t WVcomm::getNo(int32_t* no) {
    if (no) *no = no_;
    return DOVA_OK;
}

int32_t WVcomm::setNo(int32_t no) {
    if (node_.isOpen()) return DOVA_E_SYSTEM;
    no_ = no;
    path_.clear();
    return validNo(no) ? DOVA_OK : DOVA_E_ADDRESS;
}

int32_t WVcomm::openDevice() {
    if (!validNo(no_)) return DOVA_E_ADDRESS;
    path_ = devicePath();
    node_ = os::DeviceNode::open(path_.c_str());
    if (!node_.isOpen()) lastError_ = os::lastError();
    dovaTrace("DOVA:  '%s'=%08X\n", path_.c_str(),
              node_.isOpen() ? uint32_t(node_.handle()) : 0xFFFFFFFFu);
    return node_.isOpen() ? DOVA_OK : DOVA_E_OPEN;
}

int32_t WVcomm::send(const void* data, uint32_t length, uint32_t* written, uint32_t, uint32_t,
                     uint32_t) {
    if (written) *written = 0;
    if (!node_.isOpen()) return DOVA_E_WRITE;
    const DovaCommTimeouts& t = activeTimeouts_;
    // Both total values 0: no bound, as the time-outs say.
    const bool bounded = t.writeTotalTimeoutMultiplier != 0 || t.writeTotalTimeoutConstant != 0;
    const uint64_t bound =
        uint64_t(t.writeTotalTimeoutMultiplier) * length + t.writeTotalTimeoutConstant;
    const uint32_t start = os::tickCount();
    const auto* p = static_cast<const uint8_t*>(data);
    uint32_t done = 0;
    while (done < length) {
        const uint64_t spent = uint32_t(os::tickCount() - start);
        if (bounded && spent >= bound) break;
        const uint32_t left = bounded ? uint32_t(std::min<uint64_t>(bound - spent, kMaxDword - 1))
                                      : os::kWaitInfinite;
        if (outputHeld()) {
            os::sleepMs(std::min(left, kBusyPauseMs));
            continue;
        }
        long n = node_.writeSome(p + done, length - done);
        if (n > 0) {
            done += uint32_t(n);
            continue;
        }
        if (n < 0 && !os::errorWouldBlock(os::lastError())) {
            if (written) *written = done;
            return DOVA_E_WRITE;
        }
        if (!nodeCanWait()) {
            os::sleepMs(std::min(left, kBusyPauseMs));
            continue;
        }
        int r = os::waitAny({{node_.handle(), os::Want::Write}}, left);
        if (r == os::kWaitFailed) {
            if (written) *written = done;
            return DOVA_E_WRITE;
        }
    }
    if (written) *written = done;
    return DOVA_OK;
}

int32_t WVcomm::recv(void* buffer, uint32_t size, uint32_t* read, uint32_t) {
    if (read) *read = 0;
    if (!node_.isOpen()) return DOVA_E_READ;
    const DovaCommTimeouts& t = activeTimeouts_;
    auto* p = static_cast<uint8_t*>(buffer);
    uint32_t got = 0;
    // Interval MAXDWORD with no total bound: take what is there and return.
    const bool immediate = t.readIntervalTimeout == kMaxDword &&
                           t.readTotalTimeoutMultiplier == 0 && t.readTotalTimeoutConstant == 0;
    const bool totalBounded = t.readTotalTimeoutMultiplier != 0 || t.readTotalTimeoutConstant != 0;
    const uint64_t total =
        uint64_t(t.readTotalTimeoutMultiplier) * size + t.readTotalTimeoutConstant;
    const bool intervalBounded = t.readIntervalTimeout != 0 && !immediate;
    const uint32_t start = os::tickCount();
    uint32_t lastByte = start;
    while (got < size) {
        long n = node_.readSome(p + got, size - got);
        if (n > 0) {
            got += uint32_t(n);
            lastByte = os::tickCount();
            continue;
        }
        if (n < 0 && !os::errorWouldBlock(os::lastError())) {
            if (read) *read = got;
            return DOVA_E_READ;
        }
        if (immediate) break;
        uint64_t wait = os::kWaitInfinite;
        const uint32_t now = os::tickCount();
        if (totalBounded) {
            const uint64_t spent = uint32_t(now - start);
            if (spent >= total) break;
            wait = total - spent;
        }
        if (intervalBounded && got > 0) {
            const uint64_t quiet = uint32_t(now - lastByte);
            if (quiet >= t.readIntervalTimeout) break;
            wait = std::min<uint64_t>(wait, t.readIntervalTimeout - quiet);
        }
        if (!totalBounded && !(intervalBounded && got > 0)) wait = os::kWaitInfinite;
        int r = os::waitAny({{node_.handle(), os::Want::Read}}, uint32_t(wait));
        if (r == os::kWaitFailed) {
            if (read) *read = got;
            return DOVA_E_READ;
        }
        // A hung-up line reads as ready with nothing to give: do not spin.
        if (r == 0 && n == 0) os::sleepMs(kBusyPauseMs);
    }
    if (read) *read = got;
    return DOVA_OK;
}

int32_t WVcomm::getCommTimeouts(DovaCommTimeouts* timeouts) {
    if (!timeouts) return DOVA_E_SYSTEM;
    *timeouts = node_.isOpen() ? activeTimeouts_ : storedTimeouts_;
    return DOVA_OK;
}

int32_t WVcomm::setCommTimeouts(const DovaCommTimeouts* timeouts) {
    if (!timeouts) return DOVA_E_SYSTEM;
    if (node_.isOpen())
        activeTimeouts_ = *timeouts;
    else
        storedTimeouts_ = *timeouts;
    return DOVA_OK;
}

int32_t WVcomm::getModemStatus(uint32_t* status) {
    uint32_t s = 0;
    if (!status || !os::serialModemStatus(node_, &s)) return DOVA_E_SYSTEM;
    *status = s;
    return DOVA_OK;
}

int32_t WVcomm::escapeCommFunction(uint32_t function) {
    bool ok = false;
    switch (function) {
    case kSetXoff:
    case kSetXon:
        ok = os::serialSuspendOutput(node_, function == kSetXoff);
        break;
    case kSetRts:
    case kClrRts:
        ok = os::serialSetLine(node_, os::ModemLine::Rts, function == kSetRts);
        break;
    case kSetDtr:
    case kClrDtr:
        ok = os::serialSetLine(node_, os::ModemLine::Dtr, function == kSetDtr);
        break;
    case kSetBreak:
    case kClrBreak:
        ok = os::serialBreak(node_, function == kSetBreak);
        break;
    default:
        break;
    }
    return ok ? DOVA_OK : DOVA_E_SYSTEM;
}
