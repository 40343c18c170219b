// The escape frames of the IBM printer status link, both directions:
//
//   ESC '[' 'c'  L (2 bytes, low first)  body (L - 2 bytes)  CRC (2 bytes, low first)
//
// L counts the bytes after it, the CRC included, 4 to 256. The CRC is
// CRC-16/X-25 over every byte from ESC on. The host sends only 9-byte frames
// (a command and a control byte); the printer answers with a command of 1 or
// 2 and a flags byte whose bits 0x8F read 0x8D.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>

namespace ibmfp {

// The longest frame: five bytes of head, then L = 256.
constexpr size_t kFrameMax = 5 + 256;
using Frame = std::array<uint8_t, kFrameMax>;

// Host commands and their control bytes.
constexpr uint8_t kCommandReset = 0;
constexpr uint8_t kCommandPoll = 1;
constexpr uint8_t kControlReset = 0xCC;
constexpr uint8_t kControlPoll = 0xC5;

// The answer flag bits the host keeps.
constexpr uint8_t kFlagKept = 0x40 | 0x10;

// Answer reader results besides the frame's length.
enum : int {
    kAnswerReadFailed = -1,
    kAnswerNotAFrame = -2,
    kAnswerBadLength = -3,
    kAnswerCrcLow = -44,
    kAnswerCrcHigh = -55,
    kAnswerBadCommand = -5,
    kAnswerBadFlags = -6,
};

// CRC-16/X-25: reflected 0x1021 (0x8408), start 0xFFFF, final XOR 0xFFFF.
uint16_t crc16X25(const uint8_t* data, size_t length);

// A host frame: 9 bytes.
std::array<uint8_t, 9> hostFrame(uint8_t command, uint8_t control);

// Reads one answer through readByte (a byte 0 to 255, or negative when the
// line gave none) into frame, never past its end, and stops at the first
// fault. Returns the frame's length (L + 5) with *flags set to the answer's
// kept flag bits, or one of the negative results above.
int readAnswer(const std::function<int()>& readByte, Frame& frame, uint8_t* flags);

} // namespace ibmfp
