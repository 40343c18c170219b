#include "backends/serial/com_dcb.h"

#include <dova/dova.h>

bool comFlowValid(int32_t flow) {
    return flow >= DOVA_FLOW_NONE && flow <= DOVA_FLOW_DTRDSR_RTSCTS;
}

void ComDcb::setFlow(int32_t value) {
    outxCtsFlow = outxDsrFlow = outX = inX = false;
    dtrControl = rtsControl = LineControl::Enable;
    switch (value) {
    case DOVA_FLOW_DTRDSR:
        dtrControl = LineControl::Handshake;
        outxDsrFlow = true;
        break;
    case DOVA_FLOW_RTSCTS:
        rtsControl = LineControl::Handshake;
        outxCtsFlow = true;
        break;
    case DOVA_FLOW_XONXOFF:
        outX = inX = true;
        break;
    case DOVA_FLOW_DTRDSR_RTSCTS:
        dtrControl = rtsControl = LineControl::Handshake;
        outxDsrFlow = outxCtsFlow = true;
        break;
    default:
        break;
    }
}

int32_t ComDcb::flow() const {
    const bool dtr = dtrControl == LineControl::Handshake;
    const bool rts = rtsControl == LineControl::Handshake;
    if (dtr && rts) return DOVA_FLOW_DTRDSR_RTSCTS;
    if (dtr) return DOVA_FLOW_DTRDSR;
    if (rts) return DOVA_FLOW_RTSCTS;
    if (outX) return DOVA_FLOW_XONXOFF;
    return DOVA_FLOW_NONE;
}

os::SerialSettings ComDcb::lineSettings() const {
    os::SerialSettings s;
    s.baudRate = baudRate;
    s.byteSize = byteSize;
    s.parity = parity;
    s.twoStopBits = stopBits != 0;
    s.ctsFlow = outxCtsFlow;
    s.xonOutput = outX;
    s.xonInput = inX;
    s.xonChar = xonChar;
    s.xoffChar = xoffChar;
    return s;
}

void ComDcb::takeLine(const os::SerialSettings& line) {
    baudRate = line.baudRate;
    byteSize = line.byteSize;
    parity = line.parity;
    // One and a half and two look the same on the line: keep which it was.
    if (line.twoStopBits != (stopBits != 0)) stopBits = line.twoStopBits ? 2 : 0;
    outxCtsFlow = line.ctsFlow;
    outX = line.xonOutput;
    inX = line.xonInput;
    xonChar = line.xonChar;
    xoffChar = line.xoffChar;
}

DovaCommState ComDcb::commState() const {
    DovaCommState s;
    s.baudRate = int32_t(baudRate);
    s.byteSize = byteSize;
    s.parity = parity;
    s.stopBits = stopBits;
    s.flow = flow();
    return s;
}

void ComDcb::setCommState(const DovaCommState& s) {
    baudRate = uint32_t(s.baudRate);
    byteSize = s.byteSize;
    parity = s.parity;
    stopBits = s.stopBits;
    setFlow(s.flow);
}
