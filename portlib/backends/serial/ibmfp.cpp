#include "backends/serial/ibmfp.h"

#include "os/os_clock.h"
#include "os/os_error.h"
#include "os/os_serial_line.h"
#include "os/os_wait.h"
#include "trace.h"

#include <algorithm>
#include <cstdio>

namespace {

// The printer's pace: a few milliseconds around each RTS change, a second
// after a reset and between status polls.
constexpr uint32_t kClockMs = 3;
constexpr uint32_t kSettleMs = 1000;

// An answer this long whose bytes 7 and 8 read 80 00 reports power-on.
constexpr int kPowerOnLength = 14;
constexpr int kStatusLength = 12;

// How often the driver's output is looked at while it drains.
constexpr uint32_t kDrainPollMs = 10;

constexpr uint32_t kMaxDword = 0xFFFFFFFFu;

} // namespace

WIBMFP::~WIBMFP() {
    WIBMFP::release(0);
}

void WIBMFP::statusLine(const char* line) {
    std::fputs(line, stdout);
    std::fflush(stdout);
}

int32_t WIBMFP::claim(int32_t) {
    dovaTrace("DOVA: WIBMFP::claim()\n");
    release(0);
    if (int32_t r = openDevice(); r != DOVA_OK) return r;
    if (int32_t r = openEngine(); r != DOVA_OK) {
        release(0);
        return r;
    }
    if (!startComm()) {
        release(0);
        return DOVA_E_LINESETUP;
    }
    if (!os::serialSetLine(node_, os::ModemLine::Dtr, true) ||
        !os::serialSetLine(node_, os::ModemLine::Rts, false)) {
        release(0);
        return DOVA_E_LINECONTROL;
    }
    dovaTrace("DOVA: WIBMFP::start Threads\n");
    if (!startThreads(nullptr, nullptr, [this] { procWait(); })) {
        release(0);
        return DOVA_E_THREAD;
    }
    return DOVA_OK;
}

int32_t WIBMFP::getCommTimeouts(DovaCommTimeouts* timeouts) {
    std::lock_guard<std::mutex> guard(timeoutsLock_);
    return WCom::getCommTimeouts(timeouts);
}

int32_t WIBMFP::setCommTimeouts(const DovaCommTimeouts* timeouts) {
    std::lock_guard<std::mutex> guard(timeoutsLock_);
    return WCom::setCommTimeouts(timeouts);
}

DovaCommTimeouts WIBMFP::lineTimeouts() {
    std::lock_guard<std::mutex> guard(timeoutsLock_);
    return activeTimeouts_;
}

int32_t WIBMFP::release(int32_t timeout) {
    if (!node_.isOpen()) return DOVA_OK;
    dovaTrace("DOVA: WIBMFP::release(%d)\n", timeout);
    return releaseQueued(timeout, nullptr, [this] { closeDevice(); });
}

void WIBMFP::procWait() {
    dovaTrace("DOVA: WIBMFP::procWait() Start\n");
    State state = State::Reset;
    while (!stopping()) {
        switch (state) {
        case State::Reset:
            state = resetPrinter();
            break;
        case State::PowerOnCheck:
            state = checkPowerOn();
            break;
        case State::StatusPolling:
            state = pollStatus();
            break;
        }
    }
    dovaTrace("DOVA: WIBMFP::procWait() End\n");
}

WIBMFP::State WIBMFP::resetPrinter() {
    breakSignal();
    answerFlags_ = 0x40;
    pollFlags_[0] = 0x08;
    pollFlags_[1] = 0;
    if (writeFrame(ibmfp::hostFrame(ibmfp::kCommandReset, ibmfp::kControlReset)) == DOVA_OK &&
        pauseUnlessStopped(kSettleMs))
        return State::Reset;
    if (stopping()) return State::Reset;
    readAnswer();
    return State::PowerOnCheck;
}

WIBMFP::State WIBMFP::checkPowerOn() {
    writeFrame(pollFrame());
    const int n = readAnswer();
    if (n < kPowerOnLength || answer_[7] != 0x80 || answer_[8] != 0x00) return State::Reset;
    std::copy(answer_.begin() + 9, answer_.begin() + 12, powerOn_.begin());
    char line[32];
    std::snprintf(line, sizeof line, "@POR %02X %02X %02X\n", powerOn_[0], powerOn_[1],
                  powerOn_[2]);
    statusLine(line);
    return State::StatusPolling;
}

WIBMFP::State WIBMFP::pollStatus() {
    writeFrame(pollFrame());
    const int n = readAnswer();
    if (n < 0) return State::Reset;
    if (n >= kStatusLength) {
        std::copy(answer_.begin() + 7, answer_.begin() + 10, status_.begin());
        char line[32];
        std::snprintf(line, sizeof line, "@STATUS %02X %02X %02X\n", status_[0], status_[1],
                      status_[2]);
        statusLine(line);
    }
    writeCallerData(kSettleMs);
    return State::StatusPolling;
}

std::array<uint8_t, 9> WIBMFP::pollFrame() const {
    return ibmfp::hostFrame(ibmfp::kCommandPoll,
                            uint8_t(ibmfp::kControlPoll | pollFlags_[0] | (answerFlags_ & 0x10)));
}

int32_t WIBMFP::writeFrame(const std::array<uint8_t, 9>& frame) {
    if (!os::serialFlush(node_, true, true)) return DOVA_E_PURGE;
    size_t written = 0;
    if (int error = writeBounded(frame.data(), frame.size(), &written); error != 0) {
        char line[32];
        std::snprintf(line, sizeof line, "@err=%d\n", error);
        statusLine(line);
        return DOVA_E_WRITE;
    }
    return written == frame.size() ? DOVA_OK : DOVA_E_WRITE;
}

int WIBMFP::writeBounded(const uint8_t* data, size_t length, size_t* written) {
    const DovaCommTimeouts t = lineTimeouts();
    const bool bounded = t.writeTotalTimeoutMultiplier != 0 || t.writeTotalTimeoutConstant != 0;
    const uint64_t bound =
        uint64_t(t.writeTotalTimeoutMultiplier) * length + t.writeTotalTimeoutConstant;
    const uint32_t start = os::tickCount();
    *written = 0;
    while (*written < length && !stopping()) {
        const long n = node_.writeSome(data + *written, length - *written);
        if (n > 0) {
            *written += size_t(n);
            continue;
        }
        if (n < 0 && !os::errorWouldBlock(os::lastError())) return os::lastError();
        const uint64_t spent = uint32_t(os::tickCount() - start);
        if (bounded && spent >= bound) break;
        const uint32_t left = bounded ? uint32_t(std::min<uint64_t>(bound - spent, kMaxDword - 1))
                                      : os::kWaitInfinite;
        const int r = os::waitAny(
            {{stopEvent().waitHandle(), os::Want::Read}, {node_.handle(), os::Want::Write}}, left);
        if (r == os::kWaitFailed) return os::lastError();
    }
    return 0;
}

int WIBMFP::readAnswer() {
    uint8_t flags = 0;
    const int n = ibmfp::readAnswer([this] { return readClocked(); }, answer_, &flags);
    if (n > 0) {
        answerFlags_ = flags;
        storeReceived(answer_.data(), uint32_t(n));
    }
    return n;
}

int WIBMFP::readClocked() {
    if (pauseUnlessStopped(kClockMs)) return -2;
    if (!os::serialSetLine(node_, os::ModemLine::Rts, true)) return -1;
    const int b = readLineByte();
    // RTS goes down after a failed read too: the printer is not left clocked.
    if (b < 0) {
        os::serialSetLine(node_, os::ModemLine::Rts, false);
        return -2;
    }
    if (pauseUnlessStopped(kClockMs)) return -2;
    if (!os::serialSetLine(node_, os::ModemLine::Rts, false)) return -1;
    return b;
}

int WIBMFP::readLineByte() {
    const DovaCommTimeouts t = lineTimeouts();
    const uint64_t total = uint64_t(t.readTotalTimeoutMultiplier) + t.readTotalTimeoutConstant;
    // Interval MAXDWORD without a total bound: only a byte already there.
    const bool immediate = total == 0 && t.readIntervalTimeout == kMaxDword;
    const uint32_t start = os::tickCount();
    for (;;) {
        uint8_t b = 0;
        const long n = node_.readSome(&b, 1);
        if (n == 1) return b;
        if (n < 0 && !os::errorWouldBlock(os::lastError())) return -1;
        if (immediate || stopping()) return -1;
        uint32_t wait = os::kWaitInfinite;
        if (total != 0) {
            const uint64_t spent = uint32_t(os::tickCount() - start);
            if (spent >= total) return -1;
            wait = uint32_t(std::min<uint64_t>(total - spent, kMaxDword - 1));
        }
        const int r = os::waitAny(
            {{stopEvent().waitHandle(), os::Want::Read}, {node_.handle(), os::Want::Read}}, wait);
        if (r == 0 || r == os::kWaitFailed) return -1;
        // A hung-up line reads as ready with nothing to give: do not spin.
        if (r == 1 && n == 0 && pauseUnlessStopped(kClockMs)) return -1;
    }
}

int32_t WIBMFP::breakSignal() {
    if (pauseUnlessStopped(kClockMs) || !os::serialSetLine(node_, os::ModemLine::Rts, false) ||
        pauseUnlessStopped(kClockMs) || !os::serialBreak(node_, true))
        return DOVA_E_LINECONTROL;
    const bool paused = pauseUnlessStopped(kClockMs);
    // The break ends even when the thread is stopping.
    if (!os::serialBreak(node_, false) || paused) return DOVA_E_LINECONTROL;
    return DOVA_OK;
}

void WIBMFP::writeCallerData(uint32_t periodMs) {
    const uint32_t start = os::tickCount();
    bool wrote = false;
    while (!stopping() && uint32_t(os::tickCount() - start) < periodMs) {
        const uint8_t* data = nullptr;
        const uint32_t n = pendingBlock(&data);
        if (n == 0) break;
        size_t written = 0;
        const int error = writeBounded(data, n, &written);
        pendingBlockWritten(uint32_t(written));
        wrote = wrote || written != 0;
        // A printer that takes nothing more is left to the next poll.
        if (error != 0 || written < n) break;
    }
    // The next frame clears the driver's buffers: what was written must
    // have left by then (the write bound at most).
    if (wrote) {
        const uint32_t bound = lineTimeouts().writeTotalTimeoutConstant;
        const uint32_t since = os::tickCount();
        uint32_t pending = 0;
        while (os::serialPendingOutput(node_, &pending) && pending != 0 &&
               (bound == 0 || uint32_t(os::tickCount() - since) < bound)) {
            if (pauseUnlessStopped(kDrainPollMs)) return;
        }
    }
    const uint32_t spent = uint32_t(os::tickCount() - start);
    if (spent < periodMs) pauseUnlessStopped(periodMs - spent);
}
