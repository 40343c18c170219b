#include "console_keys.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <iterator>
#include <poll.h>
#include <unistd.h>

namespace sendtool {

namespace {

// Shared with the signal handler, which may only use async-signal-safe calls.
int gTermFd = -1;
struct termios gSavedMode;
volatile sig_atomic_t gRawActive = 0;

constexpr int kSignals[] = {SIGINT, SIGQUIT, SIGTERM, SIGHUP};
struct sigaction gOldActions[sizeof(kSignals) / sizeof(kSignals[0])];

void restoreTerminal() {
    if (gRawActive) {
        tcsetattr(gTermFd, TCSANOW, &gSavedMode);
        gRawActive = 0;
    }
}

// Restores the terminal, then lets the signal do what it would have done.
// SA_RESETHAND has put the default action back, SA_NODEFER lets it through.
void onSignal(int sig) {
    restoreTerminal();
    raise(sig);
}

} // namespace

ConsoleKeys::ConsoleKeys(int fd) : fd_(fd), terminal_(isatty(fd) == 1) {
    // No standard input at all: nobody can press a key.
    if (fd < 0 || fcntl(fd, F_GETFD) < 0) exhausted_ = true;
}

std::optional<unsigned char> ConsoleKeys::pollKey() {
    if (exhausted_) return std::nullopt;
    // Asking first keeps the read from blocking, also on a terminal whose
    // mode could not be switched (a canonical terminal reports whole lines).
    struct pollfd p = {fd_, POLLIN, 0};
    if (poll(&p, 1, 0) <= 0) return std::nullopt;
    if (p.revents & POLLNVAL) {
        exhausted_ = true; // no standard input at all
        return std::nullopt;
    }
    unsigned char key = 0;
    ssize_t got = ::read(fd_, &key, 1);
    if (got == 1) return key;
    // End of input, or a terminal that hung up: no key will come.
    if (got == 0 || (errno != EINTR && errno != EAGAIN)) exhausted_ = true;
    return std::nullopt;
}

KeyWait::KeyWait(ConsoleKeys& keys) {
    if (!keys.isTerminal()) return;
    struct termios mode;
    if (tcgetattr(keys.fd(), &mode) != 0) return;
    gTermFd = keys.fd();
    gSavedMode = mode;
    struct sigaction action = {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESETHAND | SA_NODEFER;
    for (size_t i = 0; i < std::size(kSignals); ++i)
        sigaction(kSignals[i], &action, &gOldActions[i]);
    mode.c_lflag &= ~static_cast<tcflag_t>(ICANON | ECHO);
    mode.c_cc[VMIN] = 0;
    mode.c_cc[VTIME] = 0;
    gRawActive = 1;
    if (tcsetattr(gTermFd, TCSANOW, &mode) != 0) gRawActive = 0;
    active_ = true;
}

KeyWait::~KeyWait() {
    if (!active_) return;
    restoreTerminal();
    for (size_t i = 0; i < std::size(kSignals); ++i)
        sigaction(kSignals[i], &gOldActions[i], nullptr);
}

} // namespace sendtool
