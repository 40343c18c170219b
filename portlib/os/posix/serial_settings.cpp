// Line settings through termios2, which carries any baud rate. Kept apart
// from the modem-line calls: <asm/termbits.h> cannot share a translation unit
// with the C library's <termios.h>.
#include "os/os_serial_line.h"

#include "os/posix/syscalls.h"

#include <asm/ioctls.h>
#include <asm/termbits.h>

#include <cerrno>

namespace os {
namespace {

struct RateCode {
    uint32_t rate;
    unsigned code;
};

// The rates the system has codes of its own for; others go as a custom rate.
constexpr RateCode kRates[] = {
    {50, B50},           {75, B75},           {110, B110},         {134, B134},
    {150, B150},         {200, B200},         {300, B300},         {600, B600},
    {1200, B1200},       {1800, B1800},       {2400, B2400},       {4800, B4800},
    {9600, B9600},       {19200, B19200},     {38400, B38400},     {57600, B57600},
    {115200, B115200},   {230400, B230400},   {460800, B460800},   {500000, B500000},
    {576000, B576000},   {921600, B921600},   {1000000, B1000000}, {1152000, B1152000},
    {1500000, B1500000}, {2000000, B2000000}, {2500000, B2500000}, {3000000, B3000000},
    {3500000, B3500000}, {4000000, B4000000},
};

unsigned rateCode(uint32_t rate) {
    for (const RateCode& r : kRates)
        if (r.rate == rate) return r.code;
    return BOTHER;
}

tcflag_t sizeFlag(int size) {
    switch (size) {
    case 5:
        return CS5;
    case 6:
        return CS6;
    case 7:
        return CS7;
    default:
        return CS8;
    }
}

int sizeOf(tcflag_t cflag) {
    switch (cflag & CSIZE) {
    case CS5:
        return 5;
    case CS6:
        return 6;
    case CS7:
        return 7;
    default:
        return 8;
    }
}

tcflag_t parityFlags(int parity) {
    switch (parity) {
    case 1:
        return PARENB | PARODD;
    case 2:
        return PARENB;
    case 3:
        return PARENB | CMSPAR | PARODD; // mark
    case 4:
        return PARENB | CMSPAR; // space
    default:
        return 0;
    }
}

int parityOf(tcflag_t cflag) {
    if (!(cflag & PARENB)) return 0;
    if (cflag & CMSPAR) return (cflag & PARODD) ? 3 : 4;
    return (cflag & PARODD) ? 1 : 2;
}

} // namespace

bool serialApply(DeviceNode& node, const SerialSettings& s) {
    if (s.byteSize < 5 || s.byteSize > 8 || s.parity < 0 || s.parity > 4 || s.baudRate == 0) {
        errno = EINVAL;
        return false;
    }
    termios2 t{};
    if (node.control(TCGETS2, &t) != 0) return false;
    t.c_iflag &= ~tcflag_t(IGNBRK | BRKINT | PARMRK | ISTRIP | INLCR | IGNCR | ICRNL | IXON |
                           IXOFF | IXANY | IUCLC | IMAXBEL | INPCK);
    t.c_oflag &= ~tcflag_t(OPOST);
    t.c_lflag &= ~tcflag_t(ECHO | ECHONL | ICANON | ISIG | IEXTEN);
    t.c_cflag &= ~tcflag_t(CBAUD | CIBAUD | CSIZE | PARENB | PARODD | CMSPAR | CSTOPB | CRTSCTS);
    t.c_cflag |= CREAD | CLOCAL | sizeFlag(s.byteSize) | parityFlags(s.parity);
    const unsigned code = rateCode(s.baudRate);
    t.c_cflag |= code;
    t.c_ispeed = t.c_ospeed = s.baudRate;
    if (s.parity != 0) t.c_iflag |= INPCK;
    if (s.twoStopBits) t.c_cflag |= CSTOPB;
    if (s.ctsFlow) t.c_cflag |= CRTSCTS;
    if (s.xonOutput) t.c_iflag |= IXON;
    if (s.xonInput) t.c_iflag |= IXOFF;
    t.c_cc[VSTART] = s.xonChar;
    t.c_cc[VSTOP] = s.xoffChar;
    t.c_cc[VMIN] = 1;
    t.c_cc[VTIME] = 0;
    return node.control(TCSETS2, &t) == 0;
}

bool serialRead(DeviceNode& node, SerialSettings* s) {
    termios2 t{};
    if (node.control(TCGETS2, &t) != 0) return false;
    s->baudRate = t.c_ospeed;
    s->byteSize = sizeOf(t.c_cflag);
    s->parity = parityOf(t.c_cflag);
    s->twoStopBits = (t.c_cflag & CSTOPB) != 0;
    s->ctsFlow = (t.c_cflag & CRTSCTS) != 0;
    s->xonOutput = (t.c_iflag & IXON) != 0;
    s->xonInput = (t.c_iflag & IXOFF) != 0;
    s->xonChar = t.c_cc[VSTART];
    s->xoffChar = t.c_cc[VSTOP];
    return true;
}

} // namespace os
