// WAea: airline (AEA) ticket and boarding-pass printers on a COM port
// (targets ULTRAn, RESAn and SITAn, on the device of COMn). Each send is cut
// into blocks of at most 512 data bytes, and each block is framed in the
// link dialect the target chose:
//
//   0 ULTRA  STX data ETX
//   1 RESA   STX seq data ETX|ETB BCC     (ETB closes the last block of a send)
//   2 SITA   STX seq data ETX LRC RCC
//
// Data bytes that equal a control character of the link go out behind a
// DLE; the sequence and check characters go out as they are. The sequence
// character alternates '0', '1' over the blocks of all sends of one claim.
//
// Direct class: everything runs on the caller's thread, within the line's
// write and read bounds (500 ms each by default).
#pragma once

#include "backends/serial/com.h"

#include <dova/dova.h>

#include <array>
#include <cstdint>
#include <vector>

class WAea : public WCom {
public:
    WAea();
    ~WAea() override;

    uint32_t getIFType() override { return DOVA_IF_AEA; }
    int32_t getAsyncMode() override { return 0; }
    const char* getTypeName() override { return "AEA"; }

    // The link dialect: 0 ULTRA, 1 RESA, 2 SITA. Any value is kept; send and
    // recv refuse one outside 0 to 2. It survives release.
    int32_t getCh(int32_t* ch) override;
    int32_t setCh(int32_t ch) override;

    // As WCom; the sequence starts again at '0'.
    int32_t claim(int32_t timeout) override;
    // Lets the driver send what it holds (as long as it keeps sending, for
    // the time-out) and closes: 0, or 1 when output was left behind.
    int32_t release(int32_t timeout) override;

    // Frames and writes every block (three attempts each, 500 ms apart).
    // 1101 for an unknown dialect, a closed port, or a block that did not
    // go out after its third attempt: *written then counts the data bytes of
    // the blocks that went out, and nothing after the failed block is sent.
    int32_t send(const void* data, uint32_t length, uint32_t* written, uint32_t tagA, uint32_t tagB,
                 uint32_t tagC) override;
    // ULTRA: one block "STX data ETX" read within the read bounds, the data
    // un-escaped; 1102 when what arrived is not such a block. Data beyond
    // the caller's buffer are kept for the next recv. RESA and SITA: what
    // arrived, as it is. 1102 on a read failure or an unknown dialect.
    int32_t recv(void* buffer, uint32_t size, uint32_t* read, uint32_t reserved) override;

private:
    // Frames data[0..n) as block `last` (or not) of the current send into
    // frame_; returns the frame's length.
    size_t frameBlock(const uint8_t* data, size_t n, bool last);
    // Up to three attempts at writing the frame, 500 ms apart; true once
    // all of it went out.
    bool writeFrame(size_t length);
    int32_t recvUltra(uint8_t* buffer, uint32_t size, uint32_t* read);

    int32_t ch_ = 0;
    uint32_t sequence_ = 0;
    // One block: STX, sequence, 512 data bytes each possibly escaped, the
    // terminator and two check bytes.
    std::array<uint8_t, 2 + 2 * 512 + 3> frame_{};
    std::array<uint8_t, 1028> recvBlock_{};
    // ULTRA data of the last block that did not fit the caller's buffer.
    std::vector<uint8_t> pending_;
};
