#include "backends/serial/ibmfp_frame.h"

namespace ibmfp {

namespace {

constexpr uint8_t kHead[3] = {0x1B, '[', 'c'};
constexpr size_t kHeadLength = 5; // ESC [ c and the two length bytes
constexpr uint32_t kLengthMin = 4;
constexpr uint32_t kLengthMax = 256;

} // namespace

uint16_t crc16X25(const uint8_t* data, size_t length) {
    uint16_t crc = 0xFFFF;
    for (size_t i = 0; i < length; ++i) {
        crc ^= data[i];
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc & 1) ? uint16_t((crc >> 1) ^ 0x8408) : uint16_t(crc >> 1);
    }
    return uint16_t(crc ^ 0xFFFF);
}

std::array<uint8_t, 9> hostFrame(uint8_t command, uint8_t control) {
    std::array<uint8_t, 9> f = {kHead[0], kHead[1], kHead[2], 4, 0, command, control, 0, 0};
    const uint16_t crc = crc16X25(f.data(), 7);
    f[7] = uint8_t(crc & 0xFF);
    f[8] = uint8_t(crc >> 8);
    return f;
}

int readAnswer(const std::function<int()>& readByte, Frame& frame, uint8_t* flags) {
    auto take = [&](size_t at) {
        const int b = readByte();
        if (b < 0) return false;
        frame[at] = uint8_t(b);
        return true;
    };
    for (size_t i = 0; i < 3; ++i) {
        if (!take(i)) return kAnswerReadFailed;
        if (frame[i] != kHead[i]) return kAnswerNotAFrame;
    }
    if (!take(3) || !take(4)) return kAnswerReadFailed;
    const uint32_t length = uint32_t(frame[3]) | uint32_t(frame[4]) << 8;
    // The bound keeps every read below inside the frame.
    if (length < kLengthMin || length > kLengthMax) return kAnswerBadLength;
    const size_t total = kHeadLength + length;
    for (size_t i = kHeadLength; i < total; ++i)
        if (!take(i)) return kAnswerReadFailed;
    const uint16_t crc = crc16X25(frame.data(), total - 2);
    if (frame[total - 2] != uint8_t(crc & 0xFF)) return kAnswerCrcLow;
    if (frame[total - 1] != uint8_t(crc >> 8)) return kAnswerCrcHigh;
    const uint8_t command = frame[5], answerFlags = frame[6];
    if (command != 1 && command != 2) return kAnswerBadCommand;
    if ((answerFlags & 0x8F) != 0x8D) return kAnswerBadFlags;
    if (flags) *flags = uint8_t(answerFlags & kFlagKept);
    return int(total);
}

} // namespace ibmfp
