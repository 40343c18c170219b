#include "backends/serial/aea.h"

#include "os/os_clock.h"
#include "os/os_serial_line.h"
#include "trace.h"

#include <algorithm>
#include <cstring>

namespace {

enum : uint8_t {
    kStx = 0x02,
    kEtx = 0x03,
    kAck = 0x06,
    kDle = 0x10,
    kNak = 0x15,
    kEtb = 0x17,
};

enum : int32_t { kUltra = 0, kResa = 1, kSita = 2 };

constexpr size_t kBlockData = 512;
constexpr int kWriteAttempts = 3;
constexpr uint32_t kAttemptPauseMs = 500;

bool needsDle(uint8_t b) {
    return b == kStx || b == kEtx || b == kAck || b == kDle || b == kNak || b == kEtb;
}

uint8_t rotr(uint8_t v) {
    return uint8_t((v >> 1) | (v << 7));
}

bool knownDialect(int32_t ch) {
    return ch >= kUltra && ch <= kSita;
}

} // namespace

WAea::WAea() {
    // The link's own defaults: RTS follows the system's receive buffer, DTR
    // stays up; output is not held for CTS.
    stored_.rtsControl = LineControl::Handshake;
    storedTimeouts_ = activeTimeouts_ = DovaCommTimeouts{0, 0, 500, 0, 500};
}

WAea::~WAea() {
    WAea::release(0);
}

int32_t WAea::getCh(int32_t* ch) {
    if (ch) *ch = ch_;
    return DOVA_OK;
}

int32_t WAea::setCh(int32_t ch) {
    ch_ = ch;
    return DOVA_OK;
}

int32_t WAea::claim(int32_t) {
    dovaTrace("DOVA: WAea::claim()\n");
    release(0);
    if (int32_t r = openDevice(); r != DOVA_OK) return r;
    if (!startComm()) {
        release(0);
        return DOVA_E_LINESETUP;
    }
    sequence_ = 0;
    pending_.clear();
    return DOVA_OK;
}

int32_t WAea::release(int32_t timeout) {
    if (!node_.isOpen()) return DOVA_OK;
    dovaTrace("DOVA: WAea::release(%d)\n", timeout);
    const int32_t result = timeout != 0 ? drainDriver(timeout) : 0;
    // A line that does not drain would hold the close: what is left is lost anyway.
    if (result != 0 || timeout == 0) os::serialFlush(node_, true, false);
    closeDevice();
    pending_.clear();
    return result;
}

size_t WAea::frameBlock(const uint8_t* data, size_t n, bool last) {
    size_t at = 0;
    frame_[at++] = kStx;
    const uint8_t seq = uint8_t('0' | (sequence_ & 1));
    if (ch_ != kUltra) frame_[at++] = seq;
    uint8_t lrc = seq, rcc = seq;
    for (size_t i = 0; i < n; ++i) {
        const uint8_t b = data[i];
        if (needsDle(b)) frame_[at++] = kDle;
        frame_[at++] = b;
        lrc ^= b;
        rcc = uint8_t(rotr(rcc) ^ b);
    }
    switch (ch_) {
    case kUltra:
        frame_[at++] = kEtx;
        break;
    case kResa: {
        const uint8_t end = last ? kEtb : kEtx;
        frame_[at++] = end;
        frame_[at++] = uint8_t(lrc ^ end);
        ++sequence_;
        break;
    }
    default:
        frame_[at++] = kEtx;
        frame_[at++] = lrc;
        frame_[at++] = uint8_t(rotr(rcc) ^ 0x03);
        ++sequence_;
        break;
    }
    return at;
}

bool WAea::writeFrame(size_t length) {
    size_t done = 0;
    for (int attempt = 0; attempt < kWriteAttempts; ++attempt) {
        if (attempt != 0) os::sleepMs(kAttemptPauseMs);
        uint32_t n = 0;
        // A later attempt goes on where the last one stopped: what went out
        // is on the line, and sending it again would break the frame.
        WVcomm::send(frame_.data() + done, uint32_t(length - done), &n, 0, 0, 0);
        done += n;
        if (done == length) return true;
    }
    return false;
}

int32_t WAea::send(const void* data, uint32_t length, uint32_t* written, uint32_t, uint32_t,
                   uint32_t) {
    if (written) *written = 0;
    if (!knownDialect(ch_) || !node_.isOpen()) return DOVA_E_WRITE;
    const auto* p = static_cast<const uint8_t*>(data);
    uint32_t done = 0;
    while (done < length) {
        const uint32_t n = uint32_t(std::min<size_t>(kBlockData, length - done));
        const size_t frameLength = frameBlock(p + done, n, done + n == length);
        // A block that cannot go out ends the send: the blocks after it
        // would reach the printer with a hole in the ticket.
        if (!writeFrame(frameLength)) {
            dovaTrace("DOVA: WAea::send block %u not sent\n", unsigned(done / kBlockData));
            if (written) *written = done;
            return DOVA_E_WRITE;
        }
        done += n;
    }
    if (written) *written = done;
    return DOVA_OK;
}

int32_t WAea::recv(void* buffer, uint32_t size, uint32_t* read, uint32_t) {
    if (read) *read = 0;
    if (!node_.isOpen()) return DOVA_E_READ;
    if (ch_ == kUltra) return recvUltra(static_cast<uint8_t*>(buffer), size, read);
    if (!knownDialect(ch_)) return DOVA_E_READ;
    return WVcomm::recv(buffer, size, read, 0);
}

int32_t WAea::recvUltra(uint8_t* buffer, uint32_t size, uint32_t* read) {
    if (pending_.empty()) {
        uint32_t got = 0;
        if (WVcomm::recv(recvBlock_.data(), uint32_t(recvBlock_.size()), &got, 0) != DOVA_OK)
            return DOVA_E_READ;
        if (got == 0 || recvBlock_[0] != kStx) return DOVA_E_READ;
        std::vector<uint8_t> block;
        bool closed = false;
        for (uint32_t i = 1; i < got && !closed; ++i) {
            uint8_t b = recvBlock_[i];
            if (b == kDle) {
                if (++i == got) break;
                block.push_back(recvBlock_[i]);
            } else if (b == kEtx) {
                closed = true;
            } else {
                block.push_back(b);
            }
        }
        if (!closed) return DOVA_E_READ;
        pending_ = std::move(block);
    }
    const uint32_t n = uint32_t(std::min<size_t>(size, pending_.size()));
    if (n != 0) std::memcpy(buffer, pending_.data(), n);
    pending_.erase(pending_.begin(), pending_.begin() + n);
    if (read) *read = n;
    return DOVA_OK;
}
