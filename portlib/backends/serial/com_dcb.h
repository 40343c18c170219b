// ComDcb: the line settings a serial port stores and applies, in the
// communications-state terms the port interface speaks (flow-control bits
// and DTR/RTS control modes), and how they map onto the system's line.
#pragma once

#include "dova_base.h"
#include "os/os_serial_line.h"

#include <cstdint>

enum class LineControl : uint8_t { Disable = 0, Enable = 1, Handshake = 2 };

struct ComDcb {
    uint32_t baudRate = 9600;
    int32_t byteSize = 8;
    int32_t parity = 0;   // none, odd, even, mark, space
    int32_t stopBits = 0; // one, one and a half, two
    bool outxCtsFlow = false;
    bool outxDsrFlow = false;
    bool outX = false;
    bool inX = false;
    LineControl dtrControl = LineControl::Enable;
    LineControl rtsControl = LineControl::Enable;
    uint8_t xonChar = 0x11;
    uint8_t xoffChar = 0x13;

    // 0 none, 1 DTR/DSR, 2 RTS/CTS, 3 XON/XOFF, 4 DTR/DSR and RTS/CTS.
    void setFlow(int32_t flow);
    int32_t flow() const;

    // The system's line for these settings. CTS output flow is the system's
    // RTS/CTS flow, which also drives RTS for input; DSR has no flow control
    // of the system's (the port holds output itself); one and a half stop
    // bits are sent as two.
    os::SerialSettings lineSettings() const;
    // Takes over what the line reports (rate, framing, XON/XOFF); the DTR
    // and RTS modes and DSR flow are the port's own and stay.
    void takeLine(const os::SerialSettings& line);

    DovaCommState commState() const;
    void setCommState(const DovaCommState& state);
};

bool comFlowValid(int32_t flow);
