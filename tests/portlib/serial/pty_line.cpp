// Reads the line back with termios2, which carries any rate; kept apart from
// the C library's <termios.h>, with which it cannot share a file.
#include "pty_printer.h"

#include <asm/termbits.h>
#include <sys/ioctl.h>

PtyLine PtyPrinter::line() const {
    termios2 t{};
    PtyLine l;
    if (::ioctl(master_, TCGETS2, &t) != 0) return l;
    l.speed = t.c_ospeed;
    l.cstopb = t.c_cflag & CSTOPB;
    l.crtscts = t.c_cflag & CRTSCTS;
    l.ixon = t.c_iflag & IXON;
    l.ixoff = t.c_iflag & IXOFF;
    l.vstart = t.c_cc[VSTART];
    l.vstop = t.c_cc[VSTOP];
    l.opost = t.c_oflag & OPOST;
    l.icanon = t.c_lflag & ICANON;
    return l;
}

#include "os/posix/syscalls.h"
#include "played_lines.h"

#include <linux/lp.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

namespace {
PlayedLines* current = nullptr;
int (*savedIoctl)(int, unsigned long, void*) = nullptr;
int (*savedClose)(int) = nullptr;

int playedClose(int fd) {
    if (current) current->record("CLOSE");
    return ::close(fd);
}
} // namespace

int playedIoctl(int fd, unsigned long request, void* argument) {
    PlayedLines& p = *current;
    auto modem = [&]() -> bool {
        if (p.noModemControl) {
            errno = ENOTTY;
            return false;
        }
        return true;
    };
    switch (request) {
    case TIOCMGET:
        if (!modem()) return -1;
        ++p.modemReads;
        *static_cast<int*>(argument) = p.lines.load();
        return 0;
    case TIOCMBIS:
    case TIOCMBIC: {
        if (!modem()) return -1;
        int bits = *static_cast<int*>(argument);
        const char* sign = request == TIOCMBIS ? "+" : "-";
        if (bits & TIOCM_DTR) p.record(std::string("DTR") + sign);
        if (bits & TIOCM_RTS) p.record(std::string("RTS") + sign);
        if (request == TIOCMBIS)
            p.lines |= bits;
        else
            p.lines &= ~bits;
        return 0;
    }
    case TIOCSBRK:
    case TIOCCBRK:
        if (!modem()) return -1;
        p.record(request == TIOCSBRK ? "BRK+" : "BRK-");
        return 0;
    case LPGETSTATUS:
        *static_cast<int*>(argument) = p.lpStatus.load();
        return 0;
    case LPRESET:
        p.record("LPRESET");
        if (p.lpResetFails) {
            errno = EIO;
            return -1;
        }
        return 0;
    case TCSETS2: {
        const auto* t = static_cast<const termios2*>(argument);
        std::lock_guard<std::mutex> g(p.lock_);
        p.lastCflag_ = t->c_cflag;
        ++p.settings_;
        break;
    }
    default:
        break;
    }
    return ::ioctl(fd, request, argument);
}

PlayedLines::PlayedLines() {
    current = this;
    savedIoctl = os::sys::ioctl;
    savedClose = os::sys::close;
    os::sys::ioctl = playedIoctl;
    os::sys::close = playedClose;
}

PlayedLines::~PlayedLines() {
    os::sys::ioctl = savedIoctl;
    os::sys::close = savedClose;
    current = nullptr;
}

void PlayedLines::record(const std::string& call) {
    std::lock_guard<std::mutex> g(lock_);
    calls_.push_back(call);
}

std::vector<std::string> PlayedLines::calls() {
    std::lock_guard<std::mutex> g(lock_);
    return calls_;
}

void PlayedLines::clear() {
    std::lock_guard<std::mutex> g(lock_);
    calls_.clear();
}

int PlayedLines::settings() {
    std::lock_guard<std::mutex> g(lock_);
    return settings_;
}

uint32_t PlayedLines::lastCflag() {
    std::lock_guard<std::mutex> g(lock_);
    return lastCflag_;
}
