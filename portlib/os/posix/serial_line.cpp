#include "os/os_serial_line.h"

#include <linux/serial.h>
#include <sys/ioctl.h>
#include <termios.h>

namespace os {

bool serialModemStatus(DeviceNode& node, uint32_t* status) {
    int bits = 0;
    if (node.control(TIOCMGET, &bits) != 0) return false;
    uint32_t s = 0;
    if (bits & TIOCM_CTS) s |= kModemCtsOn;
    if (bits & TIOCM_DSR) s |= kModemDsrOn;
    if (bits & TIOCM_RNG) s |= kModemRingOn;
    if (bits & TIOCM_CAR) s |= kModemRlsdOn;
    *status = s;
    return true;
}

bool serialSetLine(DeviceNode& node, ModemLine line, bool on) {
    int bits = line == ModemLine::Dtr ? TIOCM_DTR : TIOCM_RTS;
    return node.control(on ? TIOCMBIS : TIOCMBIC, &bits) == 0;
}

bool serialBreak(DeviceNode& node, bool on) {
    return node.control(on ? TIOCSBRK : TIOCCBRK, nullptr) == 0;
}

bool serialSuspendOutput(DeviceNode& node, bool suspend) {
    return node.control(TCXONC, reinterpret_cast<void*>(intptr_t(suspend ? TCOOFF : TCOON))) == 0;
}

bool serialFlush(DeviceNode& node, bool output, bool input) {
    if (!output && !input) return true;
    int which = output && input ? TCIOFLUSH : output ? TCOFLUSH : TCIFLUSH;
    return node.control(TCFLSH, reinterpret_cast<void*>(intptr_t(which))) == 0;
}

bool serialPendingOutput(DeviceNode& node, uint32_t* count) {
    int n = 0;
    if (node.control(TIOCOUTQ, &n) != 0) return false;
    *count = n < 0 ? 0 : uint32_t(n);
    return true;
}

bool serialLineCounts(DeviceNode& node, SerialLineCounts* counts) {
    serial_icounter_struct c{};
    if (node.control(TIOCGICOUNT, &c) != 0) return false;
    counts->breaks = uint32_t(c.brk);
    counts->errors = uint32_t(c.frame + c.overrun + c.parity + c.buf_overrun);
    return true;
}

} // namespace os
