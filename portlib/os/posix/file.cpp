#include "os/os_file.h"

#include "os/posix/syscalls.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>

#include <cerrno>
#include <ctime>

namespace os {

namespace {

// Keeps SIGPIPE from this thread while it writes, and takes back one the write
// raised, so the process-wide handling of the signal stays as the program set
// it (the send tool leaves it at its default, which ends the process).
class SigpipeGuard {
public:
    SigpipeGuard() {
        sigemptyset(&pipe_);
        sigaddset(&pipe_, SIGPIPE);
        pthread_sigmask(SIG_BLOCK, &pipe_, &old_);
        sigset_t pending;
        sigemptyset(&pending);
        sigpending(&pending);
        // One that was already waiting is not ours to take.
        wasPending_ = sigismember(&pending, SIGPIPE) == 1;
    }
    SigpipeGuard(const SigpipeGuard&) = delete;
    SigpipeGuard& operator=(const SigpipeGuard&) = delete;
    void writeFailed(int error) { broken_ = error == EPIPE; }
    ~SigpipeGuard() {
        int saved = errno;
        if (broken_ && !wasPending_) {
            timespec none{0, 0};
            while (sigtimedwait(&pipe_, nullptr, &none) < 0 && errno == EINTR) {
            }
        }
        pthread_sigmask(SIG_SETMASK, &old_, nullptr);
        errno = saved;
    }

private:
    sigset_t pipe_;
    sigset_t old_;
    bool wasPending_ = false;
    bool broken_ = false;
};

} // namespace

File::File(int fd) : fd_(fd) {
    struct stat st {};
    pipeLike_ = fd >= 0 && ::fstat(fd, &st) == 0 && (S_ISFIFO(st.st_mode) || S_ISSOCK(st.st_mode));
}

File& File::operator=(File&& other) noexcept {
    if (this != &other) {
        close();
        fd_ = other.fd_;
        pipeLike_ = other.pipeLike_;
        other.fd_ = -1;
    }
    return *this;
}

File::~File() {
    close();
}

File File::createAlways(const char* path) {
    int fd;
    do {
        fd = sys::open(path, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    } while (fd < 0 && errno == EINTR);
    return File(fd);
}

long File::write(const void* data, size_t length) {
    if (fd_ < 0) return -1;
    auto once = [&] {
        ssize_t n;
        do {
            n = sys::write(fd_, data, length);
        } while (n < 0 && errno == EINTR);
        return n;
    };
    // A regular file cannot raise the signal: spare it the mask calls.
    if (!pipeLike_) return long(once());
    SigpipeGuard guard;
    ssize_t n = once();
    if (n < 0) guard.writeFailed(errno);
    return long(n);
}

bool File::close() {
    if (fd_ < 0) return true;
    int fd = fd_;
    fd_ = -1;
    // EINTR on close still frees the descriptor on Linux: never retry.
    return sys::close(fd) == 0;
}

std::FILE* openAppendStream(const char* path) {
    // "e" opens the descriptor close-on-exec.
    return std::fopen(path, "a+e");
}

} // namespace os
