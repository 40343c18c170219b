// A serial line behind a DeviceNode: its line settings (the line is always
// put in raw mode, so bytes pass unchanged), its modem lines, break, output
// suspension and the driver's buffers. Failing calls return false with the
// cause in os::lastError(); a line without modem control (a pseudo-terminal,
// some USB serial adapters) fails the modem-line calls with
// os::errorRequestUnsupported.
#pragma once

#include "os/os_device.h"

#include <cstdint>

namespace os {

struct SerialSettings {
    // Any rate: the standard ones by their own codes, others as a custom rate.
    uint32_t baudRate = 9600;
    int byteSize = 8; // 5 to 8
    int parity = 0;   // 0 none, 1 odd, 2 even, 3 mark, 4 space
    bool twoStopBits = false;
    // Output waits for CTS; the system ties RTS to its input flow as well.
    bool ctsFlow = false;
    bool xonOutput = false; // output obeys XOFF/XON from the device
    bool xonInput = false;  // the system sends XOFF/XON when its input fills
    uint8_t xonChar = 0x11;
    uint8_t xoffChar = 0x13;
};

// Applies the settings in raw mode: no echo, no canonical input, no signals,
// no CR/LF translation, no output processing; the receiver on, the carrier
// ignored.
bool serialApply(DeviceNode& node, const SerialSettings& settings);
// Reads the settings the line has now.
bool serialRead(DeviceNode& node, SerialSettings* settings);

// The modem status in the bits the port interface reports.
constexpr uint32_t kModemCtsOn = 0x10;
constexpr uint32_t kModemDsrOn = 0x20;
constexpr uint32_t kModemRingOn = 0x40;
constexpr uint32_t kModemRlsdOn = 0x80;
bool serialModemStatus(DeviceNode& node, uint32_t* status);

enum class ModemLine { Dtr, Rts };
bool serialSetLine(DeviceNode& node, ModemLine line, bool on);
bool serialBreak(DeviceNode& node, bool on);
// Suspends output as if XOFF had come, or resumes it.
bool serialSuspendOutput(DeviceNode& node, bool suspend);
// Discards what the driver holds for sending and/or what it received.
bool serialFlush(DeviceNode& node, bool output, bool input);
// Bytes the driver still holds for sending.
bool serialPendingOutput(DeviceNode& node, uint32_t* count);

// Counters of line conditions since the line was opened: breaks received
// and receive errors (framing, parity, overrun). Not every driver keeps them.
struct SerialLineCounts {
    uint32_t breaks = 0;
    uint32_t errors = 0;
};
bool serialLineCounts(DeviceNode& node, SerialLineCounts* counts);

} // namespace os
